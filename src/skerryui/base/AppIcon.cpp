#include "skerryui/base/AppIcon.h"

// The icon's resources live in this static library; the linker keeps them only when they are
// asked for by name.
static void initIconResources() {
    Q_INIT_RESOURCE(skerry);
}

namespace skerry {

QIcon applicationIcon() {
    initIconResources();
    QIcon builtIn;
    for (const int size : {16, 32, 48, 256}) {
        builtIn.addFile(QStringLiteral(":/icons/skerry-%1.png").arg(size), QSize(size, size));
    }
    return builtIn;
}

} // namespace skerry
