#pragma once

// Enabled states of the "Play Level / Cutscene / FMV" group for its title box and radio choice.
struct LevelGroupEnables {
    bool radios;   // rbLevel, rbCutScene, rbFMV
    bool level;    // cbLevel, btnScanLevel
    bool cutscene; // cbCutScene, btnScanScene
    bool movie;    // cbFMV, btnScanFMV, cbxControls
};

constexpr LevelGroupEnables LevelGroupRule(bool groupOn, bool levelChosen, bool cutsceneChosen,
                                           bool movieChosen) {
    return {groupOn, groupOn && levelChosen, groupOn && cutsceneChosen, groupOn && movieChosen};
}
