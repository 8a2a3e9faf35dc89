// Module-wide state of the plug-in, shared by the plug-in object and its pages.
#pragma once
#include <windows.h>

const size_t PRINTER_NAME_CCH = 1024;

extern HINSTANCE ghInstance;           // this library; every template loads from it
extern volatile LONG g_cServerLocks;   // LockServer count
extern volatile LONG g_cComponents;    // live IOEMUI objects
extern WCHAR CurrentPrinterName[PRINTER_NAME_CCH];  // from the last CommonUIProp call

// The Chinese variant of templates and messages is used for these user languages.
bool IsChineseLangId(LANGID lang);
// Asks the user default language on every call.
bool UseChineseUI();
// Where UseChineseUI asks: GetUserDefaultLangID unless a test installs its own (null restores).
typedef LANGID(WINAPI* UserLangSource)();
void SetUserLangSource(UserLangSource source);
// Template id for the current UI language.
inline WORD LangTemplate(WORD chinese, WORD english) { return UseChineseUI() ? chinese : english; }
