#include "secondary_windows/form3.h"

#include "resources/images/images.h"

namespace norvessa::secondary_windows {

Form3::Form3()
    : SecondaryWindow({"Form3", QStringLiteral("安国型号对照表"), 6165, 4350, std::nullopt}) {
    setWindowIcon(resources::loadIcon(resources::kForm3IconPath));
    setBackgroundPicture(resources::loadImage(resources::kForm3PicturePath));
}

}  // namespace norvessa::secondary_windows
