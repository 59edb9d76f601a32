#pragma once

#include <string>

namespace plintor {

// Finds the installed office program that converts documents.
class OfficeLocator {
public:
    virtual ~OfficeLocator() = default;
    // The program file of LibreOffice; empty when none is installed.
    virtual std::string findLibreOfficePath() const = 0;
};

}  // namespace plintor
