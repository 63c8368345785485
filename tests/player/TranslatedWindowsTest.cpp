// The windows in German and French: every text the program puts on a
// control fits it, measured with the control's own font.
#include "tests/player/PlayerFixture.h"

#include "player/Panel.h"
#include "player/PracticeMenus.h"
#include "player/RightAlignedLabel.h"
#include "translations/Language.h"
#include "windows/ExportPractice.h"
#include "windows/HelpViewer.h"
#include "windows/UDLoadErr.h"
#include "windows/UnitAbout.h"
#include "windows/UnitSettings.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTranslator>

namespace harmonet::test {
namespace {

QString shownText(QString text)
{
    // A mnemonic's "&" is not drawn, a doubled one is drawn once.
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    return text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

// The width a text has to itself inside the control, or -1 for a control
// that shows no text of fixed width.
int roomFor(const QWidget& widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        if (label->wordWrap() || label->text().isEmpty()) {
            return -1;
        }
        return label->contentsRect().width() - 2 * label->margin() - std::max(label->indent(), 0);
    }
    if (const auto* box = qobject_cast<const QCheckBox*>(&widget)) {
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        return box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box).width();
    }
    if (const auto* radio = qobject_cast<const QRadioButton*>(&widget)) {
        QStyleOptionButton option;
        option.initFrom(radio);
        option.text = radio->text();
        return radio->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, radio).width();
    }
    if (const auto* button = qobject_cast<const QPushButton*>(&widget)) {
        // The bevel and the focus frame take a few pixels on each side.
        return button->text().isEmpty() ? -1 : button->width() - 8;
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(&widget)) {
        return group->width() - 16;
    }
    return -1;
}

QString textOf(const QWidget& widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        return label->textFormat() == Qt::RichText ? QString() : shownText(label->text());
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
        return shownText(button->text());
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(&widget)) {
        return shownText(group->title());
    }
    return {};
}

// The control stacked above the label that hides part of its text, if any:
// a later sibling over the text by more than half its height, or the edge
// of its parent.
QString coverOf(const QLabel& label)
{
    const QSize textSize(label.fontMetrics().horizontalAdvance(shownText(label.text())), label.fontMetrics().height());
    const QRect text = QStyle::alignedRect(label.layoutDirection(), label.alignment(), textSize, label.contentsRect())
                           .translated(label.pos());
    const QWidget* parent = label.parentWidget();
    if (!parent->rect().contains(text)) {
        return QStringLiteral("the edge of ") + parent->objectName();
    }
    const QList<QObject*> siblings = parent->children();
    for (qsizetype i = siblings.indexOf(const_cast<QLabel*>(&label)) + 1; i < siblings.size(); ++i) {
        const auto* sibling = qobject_cast<const QWidget*>(siblings[i]);
        if (sibling && sibling->isVisible() && !sibling->isWindow()) {
            const QRect overlap = sibling->geometry().intersected(text);
            if (!overlap.isEmpty() && overlap.height() * 2 > text.height()) {
                return sibling->objectName();
            }
        }
    }
    return {};
}

// "window/control: text (needs N of M pixels)" for each text too wide.
QStringList tooWide(const QWidget& window, const QList<const QWidget*>& ignored = {})
{
    QStringList found;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&window) || ignored.contains(widget)) {
            continue;
        }
        const QString text = textOf(*widget);
        const int room = roomFor(*widget);
        if (text.isEmpty() || room < 0) {
            continue;
        }
        const int needed = widget->fontMetrics().horizontalAdvance(text);
        if (needed > room) {
            found << QStringLiteral("%1/%2: \"%3\" (needs %4 of %5 pixels)")
                         .arg(window.objectName(), widget->objectName(), text)
                         .arg(needed)
                         .arg(room);
        }
        const auto* label = qobject_cast<const QLabel*>(widget);
        if (label && !label->wordWrap() && !coverOf(*label).isEmpty()) {
            found << QStringLiteral("%1/%2: \"%3\" under %4").arg(window.objectName(), label->objectName(), text,
                                                                 coverOf(*label));
        }
        if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
            for (int i = 0; i < combo->count(); ++i) {
                if (combo->fontMetrics().horizontalAdvance(combo->itemText(i)) > combo->width() - 24) {
                    found << QStringLiteral("%1/%2: item \"%3\"").arg(window.objectName(), combo->objectName(),
                                                                      combo->itemText(i));
                }
            }
        }
    }
    return found;
}

class TranslatedWindowsTest : public PlayerTest {
protected:
    void TearDown() override
    {
        useLanguage(QStringLiteral("en"));
        PlayerTest::TearDown();
    }

    static void useLanguage(const QString& language)
    {
        for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
        installTranslations(*qApp, QLocale(language));
    }

    // Every window of the program, shown as a singer meets it with a song
    // of four voices loaded, each checked; the lyrics strip and the status
    // bar's path show the song's own texts, cut off by design.
    QStringList tooWideIn(const QString& language)
    {
        useLanguage(language);
        TfrmMain& main = showWindow({writeFile(QStringLiteral("choir.mid"),
                                               choirSong({"Soprano", "Alto", "Tenor", "Bass"}))});
        EXPECT_TRUE(main.session().fileLoaded());
        main.cbInstruments->click();
        QStringList found = tooWide(main, {main.pnlLyrics, main.lblLyrics, main.pnlLyrics2, main.lblStatusText});
        main.SettingsWindow()->show();
        found << tooWide(*main.SettingsWindow());
        main.TrackMixer1->trigger();
        found << tooWide(*main.mixerWindow());
        main.PracticeMenus1->ExportPracticeTracks1->trigger();
        found << tooWide(*main.findChild<TdlgExportPractice*>());
        for (QWidget* dialog : std::initializer_list<QWidget*>{new TdlgLoadError(&main), new TfrmAbout(&main),
                                                               new THelpViewer(&main)}) {
            dialog->show();
            found << tooWide(*dialog);
            delete dialog;
        }
        window.reset();
        return found;
    }
};

TEST_F(TranslatedWindowsTest, EveryTextFitsItsControlInEachShippedLanguage)
{
    const QStringList languages = shippedLanguages() + QStringList{QStringLiteral("en")};
    for (const QString& language : languages) {
        const QStringList found = tooWideIn(language);
        EXPECT_TRUE(found.isEmpty()) << language.toStdString() << ":\n" << found.join('\n').toStdString();
    }
}

TEST_F(TranslatedWindowsTest, TheDesktopsLanguageChoosesTheTexts)
{
    struct Row {
        const char* locale;
        const char* language;
        const char* openButton;
        const char* qtsOwn; // a text of Qt's own dialogs
    };
    const Row rows[] = {
        {"de_DE", "de", "MIDI-Datei öffnen...", "&Ja"},
        {"de_AT", "de", "MIDI-Datei öffnen...", "&Ja"},
        {"fr_CA", "fr", "Ouvrir un fichier...", "&Oui"},
        {"en_GB", "en", "Open MIDI File...", "&Yes"},
        {"pt_BR", "en", "Open MIDI File...", "&Yes"},
    };
    for (const Row& row : rows) {
        for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
        EXPECT_EQ(installTranslations(*qApp, QLocale(QString::fromLatin1(row.locale))), QLatin1String(row.language));
        TfrmMain& main = createWindow();
        EXPECT_EQ(main.btnLoad->text().toStdString(), row.openButton) << row.locale;
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes").toStdString(), row.qtsOwn) << row.locale;
        window.reset();
    }
}

} // namespace
} // namespace harmonet::test
