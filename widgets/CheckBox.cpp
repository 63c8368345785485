#include "widgets/CheckBox.h"

namespace harmonet {

TCheckBox::TCheckBox(const QString& caption, QWidget* parent)
    : QCheckBox(caption, parent)
{
}

} // namespace harmonet
