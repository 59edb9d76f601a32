#pragma once

#include <string>

#include "core/browser/UrlLists.h"

namespace plintor {

// What the operator's requests (status, list reload) need of the kiosk's browser, whichever
// engine it runs on.
class ListedBrowser {
public:
    virtual ~ListedBrowser() = default;
    // The lists in force; lists still being read are waited for.
    virtual UrlLists& lists() = 0;
    // From now on navigations (and, with DenyAllRequests, every request) are judged by these.
    virtual void replaceLists(UrlLists lists) = 0;
    // The address of the page shown now.
    virtual std::string pageAddress() const = 0;
};

}  // namespace plintor
