#pragma once

#include "lang/untAbout.h"
#include "lang/untLanguage.h"
#include "launcher/untBrowse.h"
#include "launcher/untMain.h"

#include <memory>

// Ends the four windows of a test the way the program ends them: the globals are cleared first,
// then the windows go in the reverse order of their creation.
inline void DestroyProgramWindows(std::unique_ptr<TfrmMain>& main,
                                  std::unique_ptr<TfrmBrowse>& browse,
                                  std::unique_ptr<TfrmAbout>& about,
                                  std::unique_ptr<TfrmLanguage>& language) {
    frmLanguage = nullptr;
    frmAbout = nullptr;
    frmBrowse = nullptr;
    frmMain = nullptr;
    language.reset();
    about.reset();
    browse.reset();
    main.reset();
}
