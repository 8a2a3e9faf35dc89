#include "TOptionConverterUnit.h"
#include "Lib_Error.h"

std::wstring TOptionConverter::SubstVars(const std::wstring& AValue, const TProperties& AProps) {
    std::wstring out;
    size_t i = 0;
    for (;;) {
        size_t open = AValue.find(L"${", i);
        if (open == std::wstring::npos) {
            out += AValue.substr(i);
            return out;
        }
        size_t close = AValue.find(L'}', open + 2);
        if (close == std::wstring::npos)
            throw EKovrinError(L"\"" + AValue + L"\" has no closing brace. Opening brace at position " +
                               std::to_wstring(open) + L".");
        out += AValue.substr(i, open - i);
        out += AProps.GetProperty(AValue.substr(open + 2, close - open - 2));
        i = close + 1;
    }
}

std::wstring TOptionConverter::FindAndSubst(const std::wstring& AKey, const TProperties& AProps) {
    std::wstring value = AProps.GetProperty(AKey);
    try {
        return SubstVars(value, AProps);
    } catch (const EKovrinError&) {
        return value;
    }
}
