#pragma once
// The program password: asked at start, when the screen lock is lifted, and at the folder gate.
// Kept scrambled in the application profile, in the main window's section, key "pw".
#include "config/input_prompt.h"
#include "platform/profile_store.h"

namespace larkspin {

// True when the typed password matches the stored one, or when none is needed. With no
// password chosen yet, the user chooses one, typed twice alike (two different entries ask again);
// an empty one, or Cancel at the first question, means none.
bool CheckProgramPassword(CInputPrompt& prompt, const CProfileStore& profile);

}  // namespace larkspin
