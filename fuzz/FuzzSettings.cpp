// libFuzzer target: every input is the current user's settings file. Each
// window's settings (the items of windows/SettingsItems.h, through TIniOut,
// on stand-ins publishing the windows' properties) and the recent-files list
// are loaded from it, saved, and loaded again, as a session of the player
// does. Besides the sanitizers' findings, a broken promise aborts: loading
// changes no byte of the file, a damaged file is kept whole as
// "Harmonet.ini.bad" before the first change, and what was saved loads back
// as it was.
#include "fuzz/Invariant.h"
#include "fuzz/SettingsStandIn.h"
#include "persist/IniOut.h"
#include "persist/PropertyText.h"
#include "persist/Reflection.h"
#include "persist/SettingsFile.h"
#include "player/RecentFileList.h"
#include "windows/SettingsItems.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace harmonet;
using fuzz::invariantBroken;
using fuzz::TSettingsStandIn;

namespace {

// As many track panels as the settings window has.
constexpr int TrackPanelCount = 16;

// The windows with their components, each keeping its settings through its own TIniOut.
class TStandInWindows {
public:
    TStandInWindows()
    {
        for (const TWindowSettingsItems& window : everyWindowsSettingsItems(TrackPanelCount)) {
            auto standIn = std::make_unique<TSettingsStandIn>(window.window, nullptr);
            for (const QString& item : window.items) {
                const QString component = item.section(QLatin1Char(';'), 0, 0);
                if (component != window.window && !findOwnedComponent(standIn.get(), component))
                    new TSettingsStandIn(component, standIn.get());
            }
            auto* iniOut = new TIniOut(standIn.get());
            iniOut->setItems(window.items);
            m_iniOuts.push_back(iniOut);
            m_windows.push_back(std::move(standIn));
        }
    }

    void load()
    {
        for (TIniOut* iniOut : m_iniOuts)
            iniOut->Load();
    }
    void save()
    {
        for (TIniOut* iniOut : m_iniOuts)
            iniOut->Save();
    }

    // The text of every property of every window and component.
    QStringList texts() const
    {
        QStringList texts;
        for (const auto& window : m_windows) {
            texts.append(PropertyToText(PublishedObject(window.get())));
            for (QObject* component : window->children()) {
                if (auto* standIn = qobject_cast<TSettingsStandIn*>(component))
                    texts.append(PropertyToText(PublishedObject(standIn)));
            }
        }
        return texts;
    }

private:
    std::vector<std::unique_ptr<TSettingsStandIn>> m_windows;
    std::vector<TIniOut*> m_iniOuts;
};

QString g_settingsFile;

QByteArray fileContent(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void putSettingsFile(const uint8_t* data, size_t size)
{
    const QFileInfo settings(g_settingsFile);
    QDir folder = settings.dir();
    // Whatever the last input left beside the file (its damaged copy) goes.
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
        folder.remove(name);
    QFile file(g_settingsFile);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size)) {
        invariantBroken("cannot write the settings file");
    }
}

} // namespace

// Qt reads a value written as "@Variant(...)" with its data stream, which
// reserves room for as many items as a count in the file says: gigabytes of
// address space, never touched, that the system grants or refuses (and Qt
// copes with the refusal). The address sanitizer would fill gigabytes of its
// shadow for the grant; here such a request is refused, as on a machine with
// less memory.
// Each allocation keeps only the function that made it: Qt is built without
// frame pointers, so deeper stacks walk into garbage, every one of them new to
// the sanitizer's store of stacks, which then grew without end (half a
// gigabyte in an hour) and took a quarter of the time. Replay a finding with
// ASAN_OPTIONS=malloc_context_size=30 for the whole allocating stack.
extern "C" const char* __asan_default_options()
{
    return "allocator_may_return_null=1:max_allocation_size_mb=1024:malloc_context_size=1";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // The settings live in memory, in a folder of this process's own.
    static QByteArray configHome = QDir::tempPath().toLocal8Bit() + "/harmonet-fuzz-settings-XXXXXX";
    if (QFileInfo(QStringLiteral("/dev/shm")).isWritable())
        configHome = "/dev/shm/harmonet-fuzz-settings-XXXXXX";
    if (!::mkdtemp(configHome.data()))
        invariantBroken("cannot make a configuration folder");
    qputenv("XDG_CONFIG_HOME", configHome);
    static QCoreApplication app(*argc, *argv);
    g_settingsFile = settingsFilePath(CURRENT_USER);
    if (!QDir().mkpath(QFileInfo(g_settingsFile).path()))
        invariantBroken("cannot make the settings folder");
    std::atexit([] { QDir(QString::fromLocal8Bit(configHome)).removeRecursively(); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    putSettingsFile(data, size);
    const QByteArray original(reinterpret_cast<const char*>(data), qsizetype(size));

    TStandInWindows loaded;
    loaded.load();
    TRecentFileList recent;
    recent.load();
    if (fileContent(g_settingsFile) != original)
        invariantBroken("loading the settings changed the settings file");

    loaded.save();
    recent.save();
    if (!isWellFormedSettingsText(original) && fileContent(damagedCopyPath(g_settingsFile)) != original)
        invariantBroken("a damaged settings file was changed without keeping a whole copy");

    TStandInWindows reloaded;
    reloaded.load();
    TRecentFileList recentReloaded;
    recentReloaded.load();
    if (reloaded.texts() != loaded.texts())
        invariantBroken("a window's settings did not load back as they were saved");
    if (recentReloaded.paths() != recent.paths())
        invariantBroken("the recent-files list did not load back as it was saved");
    return 0;
}
