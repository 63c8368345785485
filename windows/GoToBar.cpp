#include "windows/GoToBar.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

#include <algorithm>
#include <limits>

namespace harmonet {

namespace {

QSpinBox* barBox(QWidget* parent, const char* name, qint64 first, qint64 last, qint64 value)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    constexpr qint64 most = std::numeric_limits<int>::max();
    box->setRange(int(std::clamp<qint64>(first, 0, most)), int(std::clamp<qint64>(last, first, most)));
    box->setValue(int(std::clamp<qint64>(value, first, std::min(last, most))));
    return box;
}

} // namespace

TdlgGoToBar::TdlgGoToBar(qint64 firstBar, qint64 lastBar, qint64 currentBar, const std::optional<BarLoop>& loop,
                         QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgGoToBar"));
    setWindowTitle(tr("Go to Bar"));
    auto* form = new QFormLayout(this);
    edBar = barBox(this, "edBar", firstBar, lastBar, currentBar);
    form->addRow(tr("&Bar:"), edBar);

    cbLoop = new QCheckBox(tr("&Loop bars"), this);
    cbLoop->setObjectName(QStringLiteral("cbLoop"));
    cbLoop->setChecked(loop.has_value());
    form->addRow(cbLoop);
    edLoopFrom = barBox(this, "edLoopFrom", firstBar, lastBar, loop ? loop->firstBar : currentBar);
    edLoopTo = barBox(this, "edLoopTo", firstBar, lastBar, loop ? loop->lastBar : currentBar);
    form->addRow(tr("&From bar:"), edLoopFrom);
    form->addRow(tr("&To bar:"), edLoopTo);
    edPasses = new QSpinBox(this);
    edPasses->setObjectName(QStringLiteral("edPasses"));
    edPasses->setRange(0, 100);
    edPasses->setSpecialValueText(tr("Until cleared"));
    edPasses->setValue(loop ? loop->passes : 0);
    form->addRow(tr("&Times:"), edPasses);
    const auto enableLoop = [this](bool on) {
        edLoopFrom->setEnabled(on);
        edLoopTo->setEnabled(on);
        edPasses->setEnabled(on);
    };
    enableLoop(cbLoop->isChecked());
    connect(cbLoop, &QCheckBox::toggled, this, enableLoop);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    edBar->selectAll();
    edBar->setFocus();
}

qint64 TdlgGoToBar::bar() const
{
    return edBar->value();
}

std::optional<BarLoop> TdlgGoToBar::loop() const
{
    if (!cbLoop->isChecked()) {
        return std::nullopt;
    }
    return BarLoop{std::min(edLoopFrom->value(), edLoopTo->value()), std::max(edLoopFrom->value(), edLoopTo->value()),
                   edPasses->value()};
}

} // namespace harmonet
