#pragma once

#include <string>

namespace plintor {

// Finds the installed office program that converts documents.
class IOfficeLocator {
public:
    virtual ~IOfficeLocator() = default;
    // The program file of LibreOffice; empty when none is installed.
    virtual std::string FindLibreOfficePath() const = 0;
};

}  // namespace plintor
