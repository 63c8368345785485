// Help, the About window, and the status bar notice about the output device.
#include "tests/player/PlayerFixture.h"

#include "widgets/ImageButton.h"
#include "windows/HelpViewer.h"
#include "windows/UnitAbout.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>

namespace harmonet::test {
namespace {

TEST_F(PlayerTest, HelpKeyOpensTheContentsPage)
{
    TfrmMain& main = showWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    QTest::keyClick(&main, Qt::Key_F1);
    auto* viewer = main.findChild<THelpViewer*>();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->browser()->source(), THelpViewer::pageOfContext(HelpContext::Contents));
    EXPECT_TRUE(viewer->browser()->toPlainText().contains("Harmonet Help"));

    QTest::mouseClick(main.sbHelp, Qt::LeftButton);
    EXPECT_EQ(main.findChildren<THelpViewer*>().size(), 1) << "one help window, reused";
}

TEST(HelpPages, EveryContextAndEveryLinkReachesAPage)
{
    EXPECT_EQ(THelpViewer::pageOfContext(230).toString(), "qrc:/help/settings.html");
    EXPECT_EQ(THelpViewer::pageOfContext(3900).fragment(), "lyrics-font");
    EXPECT_EQ(THelpViewer::pageOfContext(12345), THelpViewer::pageOfContext(HelpContext::Contents));

    THelpViewer viewer; // registers the pages
    QStringList pages;
    for (int context : {10, 20, 200, 210, 230, 3900}) {
        pages.append(THelpViewer::pageOfContext(context).path());
    }
    static const QRegularExpression link(QStringLiteral("href=\"([^\"#]+)"));
    for (qsizetype i = 0; i < pages.size(); ++i) {
        QFile page(":" + pages[i]);
        ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << pages[i].toStdString();
        const QString html = QString::fromUtf8(page.readAll());
        for (const QRegularExpressionMatch& match : link.globalMatch(html)) {
            const QString target = "/help/" + match.captured(1);
            if (!pages.contains(target)) {
                pages.append(target);
            }
        }
    }
    EXPECT_GE(pages.size(), 10) << "contents links every topic";
}

TEST_F(PlayerTest, AboutIsModalBesideTheMainWindowWithTheVersion)
{
    TfrmMain& main = showWindow();
    main.move(40, 30);
    QPoint place;
    QString version;
    bool modal = false;
    whenModal<TfrmAbout>([&](TfrmAbout* about) {
        place = about->pos();
        modal = about->isModal();
        version = about->findChild<QLabel*>("lblVersion")->text();
        about->accept();
    });
    main.About1->trigger();
    EXPECT_TRUE(modal);
    EXPECT_EQ(place, QPoint(45, 130));
    EXPECT_EQ(version, "Version " + TfrmAbout::version());
    EXPECT_FALSE(TfrmAbout::version().isEmpty());
    EXPECT_EQ(main.findChild<TfrmAbout*>(), nullptr) << "destroyed after its showing";
}

// A device that accepts everything and, like the built-in synthesizer without
// an audio device, has a remark for the user.
class SilentBackend : public MidiBackend {
public:
    QStringList deviceNames() const override { return {QStringLiteral("Silent synthesizer")}; }
    std::unique_ptr<MidiPort> open(int) override
    {
        struct Port : MidiPort {
            void sendShort(const QByteArray&) override {}
            void sendLong(const QByteArray&, std::function<void()> done) override { done(); }
            void close() override {}
            QString notice() const override { return QStringLiteral("No audio device: connect one."); }
        };
        return std::make_unique<Port>();
    }
};

TEST_F(PlayerTest, OutputNoticeAppearsOnlyForAnOutputThatCannotSound)
{
    TfrmMain& quiet = showWindow();
    EXPECT_TRUE(quiet.session().outputOpen());
    EXPECT_FALSE(quiet.lblOutputNotice->isVisible());
    window.reset();

    MidiDeviceList::installDefault(
        std::make_shared<MidiDeviceList>(std::vector<std::shared_ptr<MidiBackend>>{std::make_shared<SilentBackend>()}));
    TfrmMain& main = showWindow();
    EXPECT_TRUE(main.session().outputOpen());
    EXPECT_TRUE(main.lblOutputNotice->isVisible());
    EXPECT_EQ(main.lblOutputNotice->text(), "No audio output");
    EXPECT_EQ(main.lblOutputNotice->toolTip(), "No audio device: connect one.");
}

TEST_F(PlayerTest, NoOutputDeviceOpensNothing)
{
    MidiDeviceList::installDefault(std::make_shared<MidiDeviceList>(std::vector<std::shared_ptr<MidiBackend>>{}));
    TfrmMain& main = showWindow();
    EXPECT_FALSE(main.session().outputOpen());
    EXPECT_TRUE(errors.isEmpty());
}

} // namespace
} // namespace harmonet::test
