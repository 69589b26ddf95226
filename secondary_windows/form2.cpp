#include "secondary_windows/form2.h"

#include "resources/images/images.h"

namespace norvessa::secondary_windows {

Form2::Form2()
    : SecondaryWindow({"Form2", QStringLiteral("群联型号对应表"), 4455, 5715, std::nullopt}) {
    setBackgroundPicture(resources::loadImage(resources::kForm2PicturePath));
}

}  // namespace norvessa::secondary_windows
