#pragma once

#include <QCheckBox>

namespace harmonet {

// A check box whose state the settings keep: Checked is published. Setting it
// from code raises toggled() like a click does, so a handler bound to that
// signal runs for both.
class TCheckBox : public QCheckBox {
    Q_OBJECT
    Q_PROPERTY(bool Checked READ isChecked WRITE setChecked)
    Q_PROPERTY(QString Caption READ text WRITE setText)

public:
    explicit TCheckBox(const QString& caption, QWidget* parent = nullptr);
};

} // namespace harmonet
