#pragma once

#include <QIcon>

namespace loto {

// The program's icon: a lottery ball, in 16 x 16 and 32 x 32 images.
[[nodiscard]] QIcon ApplicationIcon();

}  // namespace loto
