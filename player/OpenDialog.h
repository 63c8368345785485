#pragma once

#include <QObject>
#include <QStringList>

class QWidget;

namespace harmonet {

// The open-file dialog as a component of its window: it keeps its settings
// (folder, file name, filter, title, options) between showings, so the window
// can store the folder, and runs the platform's file dialog with them.
class TOpenDialog : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString InitialDir READ initialDir WRITE setInitialDir)
    Q_PROPERTY(QString FileName READ fileName WRITE setFileName)
    Q_PROPERTY(QString Filter READ filter WRITE setFilter)
    Q_PROPERTY(QString Title READ title WRITE setTitle)

public:
    enum Option {
        ofHideReadOnly = 0x1,  // no "open read-only" choice
        ofFileMustExist = 0x2, // only an existing file can be chosen
        ofEnableSizing = 0x4,  // the dialog can be resized
    };
    Q_DECLARE_FLAGS(Options, Option)

    explicit TOpenDialog(QObject* owner = nullptr);

    QString initialDir() const { return m_initialDir; }
    void setInitialDir(const QString& dir) { m_initialDir = dir; }
    QString fileName() const { return m_fileName; }
    void setFileName(const QString& name) { m_fileName = name; }
    // Pairs of description and patterns separated by "|":
    // "MIDI Files (*.MID)|*.mid".
    QString filter() const { return m_filter; }
    void setFilter(const QString& filter) { m_filter = filter; }
    QString title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }
    Options options() const { return m_options; }
    void setOptions(Options options) { m_options = options; }

    // Shows the dialog modally over parent. On a choice, FileName becomes the
    // chosen file's full path and the result is true; on cancel it is false.
    // A pattern typed into the name box and confirmed becomes the chosen
    // filter, listing the files that match it.
    bool Execute(QWidget* parent);

    // The dialog's name filters for a "|"-separated filter, each description
    // followed by its patterns: "Songs|*.mid;*.kar" gives "Songs (*.mid *.kar)".
    // The dialog matches them in any letter case, since the extension of a
    // MIDI file is written either way ("SONG.MID", "song.Mid").
    static QStringList nameFilters(const QString& filter);
    // The folder a dialog starts in: the first of preferred that is an
    // existing folder, else the user's Music folder if there is one, else the
    // home folder.
    static QString startFolder(const QStringList& preferred);
    // Whether text typed as a file name is a pattern ("*.kar", "hymn?.mid"),
    // which lists the matching files instead of naming one.
    static bool isPattern(const QString& text);

private:
    QString m_initialDir;
    QString m_fileName;
    QString m_filter;
    QString m_title;
    Options m_options;
};

} // namespace harmonet

Q_DECLARE_OPERATORS_FOR_FLAGS(harmonet::TOpenDialog::Options)
