#include "core/documents/AcrobatParameters.h"

#include "core/browser/Uri.h"
#include "core/browser/UrlHelpers.h"
#include "core/support/StringHelpers.h"
#include "core/support/TextCase.h"

namespace plintor {

namespace {

struct TFragmentItem {
    std::string Name;
    std::string Value;
};

// "+" is a blank, "%XX" a byte of UTF-8; a "%" without two hex digits stays as it is.
std::string DecodeItem(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            decoded += ' ';
        } else if (text[i] == '%' && i + 2 < text.size() && HexDigitValue(text[i + 1]) >= 0 &&
                   HexDigitValue(text[i + 2]) >= 0) {
            decoded +=
                static_cast<char>(HexDigitValue(text[i + 1]) * 16 + HexDigitValue(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

std::string EncodePart(std::string_view text) {
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

std::vector<TFragmentItem> SplitFragment(std::string_view fragment) {
    std::vector<TFragmentItem> items;
    while (!fragment.empty()) {
        const std::size_t end = std::min(fragment.find('&'), fragment.size());
        const std::string item = DecodeItem(fragment.substr(0, end));
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

std::string JoinFragment(const std::vector<TFragmentItem>& items) {
    std::string fragment;
    for (const TFragmentItem& item : items) {
        if (!fragment.empty()) {
            fragment += '&';
        }
        fragment += EncodePart(item.Name) + "=" + EncodePart(item.Value);
    }
    return fragment;
}

void ForceViewerItems(std::vector<TFragmentItem>& items) {
    bool toolbar = false;
    bool navpanes = false;
    for (TFragmentItem& item : items) {
        if (EqualsNoCase(item.Name, "toolbar")) {
            item.Value = "0";
            toolbar = true;
        } else if (EqualsNoCase(item.Name, "navpanes")) {
            item.Value = "0";
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

std::string AddAcrobatParameters(std::string_view address) {
    const std::string trimmed(Trim(address));
    if (IsLocalPath(trimmed)) {
        return trimmed;
    }
    std::optional<TURI> uri = ParseURI(trimmed);
    if (!uri) {
        return trimmed;
    }
    const std::string_view document = uri->Document;
    const std::size_t dot = document.rfind('.');
    if (dot == std::string_view::npos || AsciiLower(document.substr(dot)) != ".pdf") {
        return trimmed;
    }
    std::vector<TFragmentItem> items = SplitFragment(uri->Bookmark);
    ForceViewerItems(items);
    uri->Bookmark = JoinFragment(items);
    return ComposeURI(*uri);
}

TUrlTranslation TranslateUrl(std::string_view incoming, bool acrobatAvailable) {
    if (!acrobatAvailable) {
        return {std::string(incoming), {}};
    }
    TUrlTranslation translation{AddAcrobatParameters(ToFileURL(incoming)), {}};
    const bool firstChanged =
        incoming.empty() || translation.Address.empty() || incoming[0] != translation.Address[0];
    if (firstChanged) {
        translation.LogLines = {"Acrobat - translate URL in: " + std::string(incoming),
                                "Acrobat - translate URL out: " + translation.Address};
    }
    return translation;
}

}  // namespace plintor
