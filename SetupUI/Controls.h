// The window classes the wizard needs beyond the system controls: a white panel that
// passes its children's notifications to the top-level window, a panel used as a link,
// and a picture frame that draws PNG and (animated) GIF images through GDI+.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace Controls {
// Starts GDI+ and registers the classes; the returned token ends GDI+ when it goes.
class TGdiPlus {
public:
    TGdiPlus();
    ~TGdiPlus();
    TGdiPlus(const TGdiPlus&) = delete;
    TGdiPlus& operator=(const TGdiPlus&) = delete;

private:
    ULONG_PTR m_token = 0;
};

void RegisterClasses(HINSTANCE instance);

extern const wchar_t* const kPanelClass;
extern const wchar_t* const kLinkClass;
extern const wchar_t* const kPictureClass;

// Notifications a link or a picture sends to its parent in WM_COMMAND, as a static does.
const WORD kClicked = STN_CLICKED;
const WORD kDblClicked = STN_DBLCLK;

// Picture frames. Loading replaces the image and stops any animation; an image that
// cannot be decoded raises EKovrinError.
void PictureLoad(HWND picture, const std::vector<char>& bytes);
void PictureLoadFile(HWND picture, const std::wstring& fileName);
// Plays the frames of an animated image; speed in percent of the image's own frame delays.
void PictureAnimate(HWND picture, int speedPercent);
// Ends the animation, so a hidden picture no longer repaints itself.
void PictureStop(HWND picture);
void SetHandCursor(HWND control);

// The bytes of an RCDATA resource; EKovrinError when it is missing.
std::vector<char> ResourceBytes(HINSTANCE instance, const wchar_t* name);
}  // namespace Controls
