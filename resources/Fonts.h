#pragma once

// Makes the design font "Tahoma" available: Debian's fonts-wine ships a free Tahoma-compatible
// face outside fontconfig's path. Without it, fontconfig's substitute is used.
void RegisterDesignFonts();

// Point sizes are meant at 96 dots per inch (8 points = 11 pixels), as the windows were designed.
// Call before the application object is created.
void FixFontResolution();
