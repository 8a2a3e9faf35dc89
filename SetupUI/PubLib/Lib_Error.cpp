#include "Lib_Error.h"
#include "Lib_String.h"

EKovrinError::EKovrinError(std::wstring message)
    : m_message(std::move(message)), m_narrow(WideToUtf8(m_message)) {}

std::wstring ErrorMessageOf(const std::exception& e) {
    if (auto k = dynamic_cast<const EKovrinError*>(&e)) return k->Message();
    return AnsiToWide(e.what());
}
