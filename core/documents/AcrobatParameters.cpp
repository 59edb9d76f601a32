#include "core/documents/AcrobatParameters.h"

#include "core/browser/Uri.h"
#include "core/browser/UrlHelpers.h"
#include "core/support/StringHelpers.h"
#include "core/support/TextCase.h"

namespace plintor {

namespace {

struct FragmentItem {
    std::string name;
    std::string value;
};

// "+" is a blank, "%XX" a byte of UTF-8; a "%" without two hex digits stays as it is.
std::string decodeItem(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            decoded += ' ';
        } else if (text[i] == '%' && i + 2 < text.size() && hexDigitValue(text[i + 1]) >= 0 &&
                   hexDigitValue(text[i + 2]) >= 0) {
            decoded +=
                static_cast<char>(hexDigitValue(text[i + 1]) * 16 + hexDigitValue(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

std::string encodePart(std::string_view text) {
    static constexpr std::string_view Reserved = "*<>#%{}|\\^[]`\"";
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x21 || byte > 0x7F || Reserved.find(c) != std::string_view::npos) {
            encoded += '%';
            encoded += Hex[byte >> 4];
            encoded += Hex[byte & 0x0F];
        } else {
            encoded += c;
        }
    }
    return encoded;
}

std::vector<FragmentItem> splitFragment(std::string_view fragment) {
    std::vector<FragmentItem> items;
    while (!fragment.empty()) {
        const std::size_t end = std::min(fragment.find('&'), fragment.size());
        const std::string item = decodeItem(fragment.substr(0, end));
        const std::size_t equals = item.find('=');
        if (equals == std::string::npos) {
            items.push_back({});
        } else {
            items.push_back({item.substr(0, equals), item.substr(equals + 1)});
        }
        fragment.remove_prefix(std::min(end + 1, fragment.size()));
    }
    return items;
}

std::string joinFragment(const std::vector<FragmentItem>& items) {
    std::string fragment;
    for (const FragmentItem& item : items) {
        if (!fragment.empty()) {
            fragment += '&';
        }
        fragment += encodePart(item.name) + "=" + encodePart(item.value);
    }
    return fragment;
}

void forceViewerItems(std::vector<FragmentItem>& items) {
    bool toolbar = false;
    bool navpanes = false;
    for (FragmentItem& item : items) {
        if (equalsNoCase(item.name, "toolbar")) {
            item.value = "0";
            toolbar = true;
        } else if (equalsNoCase(item.name, "navpanes")) {
            item.value = "0";
            navpanes = true;
        }
    }
    if (!toolbar) {
        items.push_back({"toolbar", "0"});
    }
    if (!navpanes) {
        items.push_back({"navpanes", "0"});
    }
}

}  // namespace

std::string addAcrobatParameters(std::string_view address) {
    const std::string trimmed(trim(address));
    if (isLocalPath(trimmed)) {
        return trimmed;
    }
    std::optional<Uri> uri = parseUri(trimmed);
    if (!uri) {
        return trimmed;
    }
    const std::string_view document = uri->document;
    const std::size_t dot = document.rfind('.');
    if (dot == std::string_view::npos || asciiLower(document.substr(dot)) != ".pdf") {
        return trimmed;
    }
    std::vector<FragmentItem> items = splitFragment(uri->bookmark);
    forceViewerItems(items);
    uri->bookmark = joinFragment(items);
    return composeUri(*uri);
}

UrlTranslation translateUrl(std::string_view incoming, bool acrobatAvailable) {
    if (!acrobatAvailable) {
        return {std::string(incoming), {}};
    }
    UrlTranslation translation{addAcrobatParameters(toFileUrl(incoming)), {}};
    const bool firstChanged =
        incoming.empty() || translation.address.empty() || incoming[0] != translation.address[0];
    if (firstChanged) {
        translation.logLines = {"Acrobat - translate URL in: " + std::string(incoming),
                                "Acrobat - translate URL out: " + translation.address};
    }
    return translation;
}

}  // namespace plintor
