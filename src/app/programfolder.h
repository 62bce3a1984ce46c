#pragma once
// The program folder: where the running program file lies. Compass.ini,
// distances.ini, the default skin, skins/, img/ and the icons are found there.

#include <QString>

namespace orvanta {

// The folder of the running program file, with a trailing "/". Works before
// the application object exists (it reads /proc/self/exe).
[[nodiscard]] QString ProgramFolder();
// The full path of the running program file.
[[nodiscard]] QString ProgramFile();

} // namespace orvanta
