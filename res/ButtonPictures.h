// The main dialog's button pictures: each button's icon at the sizes of
// IconButton::iconSizes (16, 20, 24 and 32 pixels), and the colour that is
// transparent in all of them.
#ifndef ZVX_RES_BUTTONPICTURES_H
#define ZVX_RES_BUTTONPICTURES_H

#include <windows.h>

#include "res/resource.h"

namespace ButtonPictures {

inline constexpr COLORREF maskColour = RGB(255, 0, 255);
inline constexpr UINT about[4] = {IDB_ABOUT, IDB_ABOUT_20, IDB_ABOUT_24, IDB_ABOUT_32};
inline constexpr UINT exit[4] = {IDB_EXIT, IDB_EXIT_20, IDB_EXIT_24, IDB_EXIT_32};
inline constexpr UINT visit[4] = {IDB_VISIT, IDB_VISIT_20, IDB_VISIT_24, IDB_VISIT_32};

}  // namespace ButtonPictures

#endif
