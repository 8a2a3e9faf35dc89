// "${name}" references in logger values, replaced by other properties.
#pragma once
#include "TPropertiesUnit.h"
#include <string>

class TOptionConverter {
public:
    // The value of AKey with its references replaced; unchanged if a reference is unclosed.
    static std::wstring FindAndSubst(const std::wstring& AKey, const TProperties& AProps);
    // Raises EKovrinError for a "${" without a later "}".
    static std::wstring SubstVars(const std::wstring& AValue, const TProperties& AProps);
};
