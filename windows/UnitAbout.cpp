#include "windows/UnitAbout.h"

#include "windows/StavePicture.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace harmonet {

TfrmAbout::TfrmAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("About Harmonet"));
    setModal(true);

    auto* name = new QLabel(QStringLiteral("Harmonet"), this);
    name->setObjectName(QStringLiteral("lblProductName"));
    QFont nameFont = name->font();
    nameFont.setPointSize(nameFont.pointSize() * 2);
    nameFont.setBold(true);
    name->setFont(nameFont);
    name->setAlignment(Qt::AlignCenter);

    auto* purpose = new QLabel(tr("A MIDI file player for singers learning their parts"), this);
    purpose->setObjectName(QStringLiteral("lblComments"));
    purpose->setAlignment(Qt::AlignCenter);

    auto* versionLabel = new QLabel(tr("Version %1").arg(version()), this);
    versionLabel->setObjectName(QStringLiteral("lblVersion"));
    versionLabel->setAlignment(Qt::AlignCenter);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnOk"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new TStavePicture(this), 0, Qt::AlignHCenter);
    layout->addWidget(name);
    layout->addWidget(purpose);
    layout->addWidget(versionLabel);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString TfrmAbout::version()
{
    return QStringLiteral(HARMONET_VERSION);
}

} // namespace harmonet
