#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

class QStringDecoder;

namespace harmonet {

class TMidiFile;

// The character set of a song's texts (lyrics, karaoke text, track and
// instrument names, markers). A MIDI file does not say which one it uses, so
// one is found for the whole file from all its texts together; a single
// syllable is far too short to tell code pages apart.
class TTextEncoding {
public:
    // Plain 7-bit text; decodes as UTF-8 does.
    static constexpr const char* Ascii = "ASCII";
    static constexpr const char* Utf8 = "UTF-8";
    static constexpr const char* Windows1252 = "windows-1252";

    // ASCII, decoding as UTF-8 would.
    TTextEncoding() : TTextEncoding(Ascii) {}
    // The named encoding; a name the converter does not know reads as windows-1252.
    // An encoding taken from a guess keeps texts that are valid UTF-8 as UTF-8
    // when it is a one-byte code page: such files mix texts written by an
    // older program with texts added by a newer one, and UTF-8 that is not
    // meant as UTF-8 is all but impossible in a one-byte code page.
    explicit TTextEncoding(const QByteArray& name, bool keepUtf8Texts = false);

    // The encoding found for the texts: ASCII when every byte is below 0x80;
    // else UTF-8 when every text is strictly valid UTF-8; else the guess of
    // the character-set detector over all texts together (ISO-8859-1 read as
    // windows-1252, which fills its control range with letters), when it
    // names an encoding MIDI texts use; else windows-1252.
    static TTextEncoding detect(const QList<QByteArrayView>& texts);
    // The same over every text meta event of the file's tracks.
    static TTextEncoding detect(const TMidiFile& file);

    // The encodings offered to override the one found.
    static QStringList commonNames();

    const QByteArray& name() const { return m_name; }
    QString decode(QByteArrayView bytes) const;
    // A name the sequencer keeps with one character per byte, decoded.
    QString decodeLatin1Held(const QString& heldName) const;

private:
    QByteArray m_name = Ascii;
    bool m_keepUtf8Texts = false;
    // The converter of a legacy encoding, opened once: opening one by name
    // costs more than decoding a syllable. Shared by copies, which decode
    // only on the thread that made them.
    std::shared_ptr<QStringDecoder> m_decoder;
};

} // namespace harmonet
