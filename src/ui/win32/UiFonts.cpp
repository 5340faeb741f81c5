#include "ui/win32/UiFonts.h"

namespace bastion::win32 {

namespace {

int CALLBACK NoteFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FamilyInstalled(const wchar_t* family) {
    HDC screen = ::GetDC(nullptr);
    if (!screen) return false;
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    ::lstrcpynW(query.lfFaceName, family, LF_FACESIZE);
    bool found = false;
    ::EnumFontFamiliesExW(screen, &query, NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
    ::ReleaseDC(nullptr, screen);
    return found;
}

HFONT MakeFont(int points, int weight, bool underline, bool italic, int dpi) {
    LOGFONTW font{};
    font.lfHeight = -::MulDiv(points, dpi, 72);
    font.lfWeight = weight;
    font.lfUnderline = underline ? TRUE : FALSE;
    font.lfItalic = italic ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    ::lstrcpynW(font.lfFaceName, UiFontFamily().c_str(), LF_FACESIZE);
    return ::CreateFontIndirectW(&font);
}

}  // namespace

const std::wstring& UiFontFamily() {
    // Fixed for the run: the fonts installed do not change under a window.
    static const std::wstring family = FamilyInstalled(L"Segoe UI") ? L"Segoe UI" : L"Tahoma";
    return family;
}

void UiFonts::Create(int dpi) {
    dpi_ = dpi;
    struct Style {
        int points;
        int weight;
        bool underline;
        bool italic;
    };
    constexpr Style styles[] = {{9, FW_NORMAL, false, false}, {9, FW_SEMIBOLD, false, false},
                              {14, FW_SEMIBOLD, false, false}, {15, FW_BOLD, false, false},
                              {8, FW_NORMAL, false, false}, {9, FW_NORMAL, true, false},
                              {9, FW_SEMIBOLD, false, true}};
    for (int i = 0; i < static_cast<int>(FontRole::Count); ++i) {
        fonts_[static_cast<std::size_t>(i)].Reset(MakeFont(styles[i].points, styles[i].weight, styles[i].underline, styles[i].italic, dpi));
    }
}

}  // namespace bastion::win32
