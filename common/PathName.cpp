#include "common/PathName.h"

#ifdef _WIN32
#include <windows.h>
#else
#include "common/ShiftJis.h"
#endif

bool IsAnsiLeadByte(unsigned char c) noexcept
{
#ifdef _WIN32
    return IsDBCSLeadByteEx(CP_ACP, c) != FALSE;
#else
    return sjis::IsLeadByte(c);
#endif
}

const char* FileNamePart(const char* path, LeadByteRule isLead) noexcept
{
    const char* name = path;
    for (const char* p = path; *p; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (isLead(c)) {
            if (!p[1]) break;
            ++p;  // the trail byte may be 0x5C and is not a separator
        } else if (c == '\\' || c == '/') {
            name = p + 1;
        }
    }
    return name;
}
