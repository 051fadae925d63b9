#include "results/WindowParts.h"

#include <QPushButton>

namespace vastel {

QPushButton* namedButton(const char* name, const QString& caption, const QString& hint,
                         QWidget* parent) {
    auto* b = named(new QPushButton(caption, parent), name);
    b->setToolTip(hint);
    b->setAutoDefault(false);
    return b;
}

}  // namespace vastel
