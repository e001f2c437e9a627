#pragma once

class QWidget;

// Whether the window manager holds a top-level window iconic (ICCCM WM_STATE IconicState), read
// from the X server; false on any other platform, or where no manager keeps the state.
bool IsIconicOnX11(QWidget& window);
