#include "TPatternLayoutUnit.h"
#include "TLogLogUnit.h"
#include <cstring>
#include <cwctype>
#include <memory>

namespace {
const TFormatSettings* g_settingsOverride = nullptr;

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
wchar_t Upper(wchar_t c) { return c >= L'a' && c <= L'z' ? wchar_t(c - 32) : c; }

std::wstring LocaleText(LCID locale, LCTYPE type) {
    wchar_t buf[256] = {};
    int n = GetLocaleInfoW(locale, type, buf, 256);
    return n > 1 ? std::wstring(buf, n - 1) : std::wstring();
}

// Turns a Windows date or time picture into our date format letters.
std::wstring FromPicture(const std::wstring& pic, const std::wstring& dateSep, const std::wstring& timeSep) {
    std::wstring out;
    for (size_t i = 0; i < pic.size();) {
        wchar_t c = pic[i];
        if (c == L'\'') {  // quoted text keeps its quotes: our format copies it the same way
            size_t close = pic.find(L'\'', i + 1);
            size_t end = close == std::wstring::npos ? pic.size() : close + 1;
            out += pic.substr(i, end - i);
            i = end;
        } else if (!dateSep.empty() && pic.compare(i, dateSep.size(), dateSep) == 0) {
            out += L'/';
            i += dateSep.size();
        } else if (!timeSep.empty() && pic.compare(i, timeSep.size(), timeSep) == 0) {
            out += L':';
            i += timeSep.size();
        } else {
            switch (c) {
            case L'M': out += L'm'; break;
            case L'm': out += L'n'; break;
            case L'H': out += L'h'; break;
            case L't':
                while (i + 1 < pic.size() && pic[i + 1] == L't') ++i;
                out += L"ampm";
                break;
            case L'd': case L'y': case L'g': case L'h': case L's': out += c; break;
            default:
                if (IsAsciiLetter(c))
                    out += std::wstring(L"\"") + c + L"\"";
                else
                    out += c;
            }
            ++i;
        }
    }
    return out;
}

// Appends the number with at least that many digits (no temporaries: this runs per record).
void AppendNumber(std::wstring& out, int value, int digits) {
    wchar_t buf[16];
    int n = 0;
    unsigned v = value < 0 ? 0u : (unsigned)value;
    do {
        buf[n++] = wchar_t(L'0' + v % 10);
        v /= 10;
    } while (v);
    while (n < digits && n < 16) buf[n++] = L'0';
    while (n) out += buf[--n];
}

// Whether an am/pm, a/p or ampm element follows before the next hour element.
bool TwelveHourAhead(const std::wstring& f, size_t from) {
    for (size_t i = from; i < f.size(); ++i) {
        wchar_t c = Upper(f[i]);
        if (c == L'\'' || c == L'"') {
            size_t close = f.find(f[i], i + 1);
            if (close == std::wstring::npos) return false;
            i = close;
        } else if (c == L'H') {
            return false;
        } else if (c == L'A') {
            std::wstring rest;
            for (size_t k = i; k < f.size() && k < i + 5; ++k) rest += Upper(f[k]);
            if (rest.compare(0, 5, L"AM/PM") == 0 || rest.compare(0, 3, L"A/P") == 0 ||
                rest.compare(0, 4, L"AMPM") == 0)
                return true;
        }
    }
    return false;
}

bool MatchesAt(const std::wstring& f, size_t i, const wchar_t* what) {
    for (size_t k = 0; what[k]; ++k)
        if (i + k >= f.size() || Upper(f[i + k]) != what[k]) return false;
    return true;
}

void AppendDateTime(std::wstring& out, const std::wstring& f, const SYSTEMTIME& t, const TFormatSettings& fs,
                    int depth) {
    if (depth > 2) return;  // a locale format that names itself must not recurse for ever
    wchar_t lastLetter = 0;
    for (size_t i = 0; i < f.size();) {
        wchar_t c = f[i];
        wchar_t u = Upper(c);
        if (c == L'\'' || c == L'"') {
            size_t close = f.find(c, i + 1);
            size_t end = close == std::wstring::npos ? f.size() : close;
            out += f.substr(i + 1, end - i - 1);
            i = end == f.size() ? end : end + 1;
            continue;
        }
        if (c == L'/') { out += fs.DateSeparator; ++i; continue; }
        if (c == L':') { out += fs.TimeSeparator; ++i; continue; }
        if (!IsAsciiLetter(c)) { out += c; ++i; continue; }
        size_t count = 1;
        while (i + count < f.size() && Upper(f[i + count]) == u) ++count;
        size_t next = i + count;
        switch (u) {
        case L'Y':
            if (count <= 2)
                AppendNumber(out, t.wYear % 100, 2);
            else
                AppendNumber(out, t.wYear, 4);
            break;
        case L'M':
            if (lastLetter == L'H' && count <= 2) {  // mmm and mmmm stay month names
                AppendNumber(out, t.wMinute, count == 1 ? 1 : 2);
            } else if (count <= 2) {
                AppendNumber(out, t.wMonth, (int)count);
            } else if (t.wMonth >= 1 && t.wMonth <= 12) {
                out += count == 3 ? fs.ShortMonthNames[t.wMonth - 1] : fs.LongMonthNames[t.wMonth - 1];
            }
            break;
        case L'D':
            if (count <= 2)
                AppendNumber(out, t.wDay, (int)count);
            else if (count <= 4)
                out += (count == 3 ? fs.ShortDayNames : fs.LongDayNames)[t.wDayOfWeek % 7];
            else
                AppendDateTime(out, count == 5 ? fs.ShortDateFormat : fs.LongDateFormat, t, fs, depth + 1);
            break;
        case L'H': {
            int h = t.wHour;
            if (TwelveHourAhead(f, next)) h = h % 12 == 0 ? 12 : h % 12;
            AppendNumber(out, h, count == 1 ? 1 : 2);
            break;
        }
        case L'N': AppendNumber(out, t.wMinute, count == 1 ? 1 : 2); break;
        case L'S': AppendNumber(out, t.wSecond, count == 1 ? 1 : 2); break;
        case L'Z': AppendNumber(out, t.wMilliseconds, count >= 3 ? 3 : (int)count); break;
        case L'C':
            AppendDateTime(out, fs.ShortDateFormat, t, fs, depth + 1);
            if (t.wHour || t.wMinute || t.wSecond || t.wMilliseconds) {
                out += L' ';
                AppendDateTime(out, fs.LongTimeFormat, t, fs, depth + 1);
            }
            next = i + 1;  // each c stands alone
            break;
        case L'T':
            AppendDateTime(out, count == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, t, fs, depth + 1);
            break;
        case L'E': AppendNumber(out, t.wYear, count == 1 ? 1 : 2); break;
        case L'G': out += fs.EraName; break;
        case L'A':
            if (MatchesAt(f, i, L"AM/PM")) {
                out += t.wHour < 12 ? f.substr(i, 2) : f.substr(i + 3, 2);
                next = i + 5;
            } else if (MatchesAt(f, i, L"A/P")) {
                out += t.wHour < 12 ? f[i] : f[i + 2];
                next = i + 3;
            } else if (MatchesAt(f, i, L"AMPM")) {
                out += t.wHour < 12 ? fs.TimeAMString : fs.TimePMString;
                next = i + 4;
            } else if (count >= 3) {
                out += (count == 3 ? fs.ShortDayNames : fs.LongDayNames)[t.wDayOfWeek % 7];
                next = i + (count >= 4 ? 4 : 3);
            } else {
                out += c;
                next = i + 1;
            }
            break;
        default:
            out += f.substr(i, count);
        }
        lastLetter = u;
        i = next;
    }
}
}  // namespace

TFormatSettings LocaleFormatSettings(LCID ALocale) {
    TFormatSettings fs;
    for (int m = 0; m < 12; ++m) {
        fs.ShortMonthNames[m] = LocaleText(ALocale, LOCALE_SABBREVMONTHNAME1 + m);
        fs.LongMonthNames[m] = LocaleText(ALocale, LOCALE_SMONTHNAME1 + m);
    }
    for (int d = 0; d < 7; ++d) {
        // The locale counts from Monday; the table counts from Sunday.
        fs.ShortDayNames[(d + 1) % 7] = LocaleText(ALocale, LOCALE_SABBREVDAYNAME1 + d);
        fs.LongDayNames[(d + 1) % 7] = LocaleText(ALocale, LOCALE_SDAYNAME1 + d);
    }
    fs.DateSeparator = LocaleText(ALocale, LOCALE_SDATE);
    fs.TimeSeparator = LocaleText(ALocale, LOCALE_STIME);
    if (fs.DateSeparator.empty()) fs.DateSeparator = L"/";
    if (fs.TimeSeparator.empty()) fs.TimeSeparator = L":";
    fs.ShortDateFormat = FromPicture(LocaleText(ALocale, LOCALE_SSHORTDATE), fs.DateSeparator, fs.TimeSeparator);
    fs.LongDateFormat = FromPicture(LocaleText(ALocale, LOCALE_SLONGDATE), fs.DateSeparator, fs.TimeSeparator);
    fs.LongTimeFormat = FromPicture(LocaleText(ALocale, LOCALE_STIMEFORMAT), fs.DateSeparator, fs.TimeSeparator);
    fs.ShortTimeFormat = FromPicture(LocaleText(ALocale, LOCALE_SSHORTTIME), fs.DateSeparator, fs.TimeSeparator);
    if (fs.ShortDateFormat.empty()) fs.ShortDateFormat = L"m/d/yyyy";
    if (fs.LongDateFormat.empty()) fs.LongDateFormat = L"mmmm d, yyyy";
    if (fs.LongTimeFormat.empty()) fs.LongTimeFormat = L"hh:nn:ss";
    if (fs.ShortTimeFormat.empty()) fs.ShortTimeFormat = L"hh:nn";
    fs.TimeAMString = LocaleText(ALocale, LOCALE_S1159);
    fs.TimePMString = LocaleText(ALocale, LOCALE_S2359);
    wchar_t era[64] = {};
    if (GetDateFormatW(ALocale, 0, nullptr, L"gg", era, 64) > 1) fs.EraName = era;
    return fs;
}

const TFormatSettings& FormatSettings() {
    if (g_settingsOverride) return *g_settingsOverride;
    static const TFormatSettings user = LocaleFormatSettings(LOCALE_USER_DEFAULT);
    return user;
}

void SetFormatSettings(const TFormatSettings* ASettings) { g_settingsOverride = ASettings; }

void AppendDateTime(std::wstring& AOut, const std::wstring& AFormat, const SYSTEMTIME& ATime,
                    const TFormatSettings& ASettings) {
    static const std::wstring c = L"c";
    AppendDateTime(AOut, AFormat.empty() ? c : AFormat, ATime, ASettings, 0);
}

std::wstring FormatDateTime(const std::wstring& AFormat, const SYSTEMTIME& ATime, const TFormatSettings& ASettings) {
    std::wstring out;
    AppendDateTime(out, AFormat, ATime, ASettings);
    return out;
}

TPatternLayout::TPatternLayout() : TPatternLayout(L"%m%n") {}

TPatternLayout::TPatternLayout(const std::wstring& APattern) {
    Parse(APattern.empty() ? std::wstring(L"%m%n") : APattern);
    TLogLog::Debug(L"TPatternLayout#Create");
}

void TPatternLayout::Parse(const std::wstring& APattern) {
    const std::wstring& p = APattern;
    auto literal = [this](const std::wstring& text) {
        if (text.empty()) return;
        if (!FFormatString.empty() && FFormatString.back().Conversion == 0)
            FFormatString.back().Text += text;
        else
            FFormatString.push_back({0, text, false, -1, -1});
    };
    size_t i = 0;
    while (i < p.size()) {
        size_t pct = p.find(L'%', i);
        if (pct == std::wstring::npos) {
            literal(p.substr(i));
            break;
        }
        literal(p.substr(i, pct - i));
        size_t j = pct + 1;
        while (j < p.size() && !IsAsciiLetter(p[j])) ++j;
        if (j == p.size()) {  // a "%" with no conversion letter is plain text
            literal(p.substr(pct));
            break;
        }
        std::wstring spec = p.substr(pct + 1, j - pct - 1);
        wchar_t letter = p[j];
        i = j + 1;
        if (letter == L'd') {
            FDateFormatString.clear();
            if (i < p.size() && p[i] == L'{') {
                size_t close = p.find(L'}', i + 1);
                if (close != std::wstring::npos) {  // an unclosed "{" stays plain text
                    FDateFormatString = p.substr(i + 1, close - i - 1);
                    i = close + 1;
                }
            }
            FHasDate = true;
            FFormatString.push_back({L'd', {}, false, -1, -1});
        } else if (letter == L'n') {
            FFormatString.push_back({L'n', {}, false, -1, -1});
        } else if (letter == L'm' || letter == L'p' || letter == L'e' || letter == L'L') {
            // Only [-][width][.precision] is understood; anything else is written as it stands.
            TPiece piece{letter, {}, false, -1, -1};
            size_t k = 0;
            if (k < spec.size() && spec[k] == L'-') piece.LeftAlign = true, ++k;
            size_t digits = k;
            while (k < spec.size() && iswdigit(spec[k])) ++k;
            bool valid = k - digits <= 4;  // wider than 9999 is no width anyone means
            if (k > digits && valid) piece.Width = std::stoi(spec.substr(digits, k - digits));
            if (k < spec.size() && spec[k] == L'.') {
                size_t start = ++k;
                while (k < spec.size() && iswdigit(spec[k])) ++k;
                if (k == start || k - start > 4)
                    valid = false;
                else
                    piece.Precision = std::stoi(spec.substr(start, k - start));
            }
            if (valid && k == spec.size())
                FFormatString.push_back(piece);
            else
                literal(p.substr(pct, j + 1 - pct));
        } else {
            literal(p.substr(pct, j + 1 - pct));
        }
    }
}

std::wstring TPatternLayout::Format(const TLoggingEvent& AEvent) {
    std::wstring out;
    out.reserve(64 + AEvent.GetMessage().size());
    FormatTo(AEvent, out);
    return out;
}

void TPatternLayout::FormatTo(const TLoggingEvent& AEvent, std::wstring& AOut) {
    std::wstring& out = AOut;
    out.clear();
    if (FHasDate) {
        // Records come many to a millisecond: the text of the last time is kept and reused.
        const SYSTEMTIME& t = AEvent.GetStartTime();
        const TFormatSettings* fs = &FormatSettings();
        if (!FDateValid || fs != FDateSettings || memcmp(&t, &FDateTime, sizeof t) != 0) {
            FDate.clear();
            AppendDateTime(FDate, FDateFormatString, t, *fs);
            FDateTime = t;
            FDateSettings = fs;
            FDateValid = true;
        }
    }
    for (const TPiece& piece : FFormatString) {
        switch (piece.Conversion) {
        case 0: out += piece.Text; continue;
        case L'd': out += FDate; continue;
        case L'n': out += L'\r'; continue;
        }
        std::wstring error;
        const std::wstring* text = &error;
        switch (piece.Conversion) {
        case L'm': text = &AEvent.GetMessage(); break;
        case L'p': text = &AEvent.GetLevel()->GetName(); break;
        case L'L': text = &AEvent.GetLoggerName(); break;
        case L'e':
            if (const TEventError* e = AEvent.GetException()) error = e->ClassName + L": " + e->Message;
            break;
        }
        size_t length = text->size();
        if (piece.Precision >= 0 && length > (size_t)piece.Precision) length = piece.Precision;
        size_t pad = piece.Width > (int)length ? piece.Width - length : 0;
        if (!piece.LeftAlign) out.append(pad, L' ');
        out.append(*text, 0, length);
        if (piece.LeftAlign) out.append(pad, L' ');
    }
}
