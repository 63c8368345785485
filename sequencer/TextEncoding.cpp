#include "sequencer/TextEncoding.h"

#include "sequencer/MidiBytes.h"
#include "sequencer/MidiFile.h"

#include <QStringDecoder>
#include <algorithm>
#include <memory>
#include <uchardet/uchardet.h>

namespace harmonet {

namespace {


bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
}

bool isStrictUtf8(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString decoded = utf8.decode(bytes);
    return !utf8.hasError();
}

// Code pages of DOS and the classic Mac OS: the detector picks them for short
// Latin texts, but MIDI files do not use them.
bool isUnlikelyForMidiTexts(const QByteArray& guess)
{
    const QByteArray upper = guess.toUpper();
    return upper.startsWith("MAC") || upper.startsWith("IBM") || upper.startsWith("CP4")
        || upper.startsWith("CP8") || upper.startsWith("X-MAC");
}

QByteArray guessOf(const QList<QByteArrayView>& texts)
{
    std::unique_ptr<uchardet, decltype(&uchardet_delete)> detector(uchardet_new(), &uchardet_delete);
    if (!detector) {
        return {};
    }
    for (const QByteArrayView text : texts) {
        // One line per text, so the words of separate texts stay apart.
        if (uchardet_handle_data(detector.get(), text.data(), size_t(text.size())) != 0
            || uchardet_handle_data(detector.get(), "\n", 1) != 0) {
            return {};
        }
    }
    uchardet_data_end(detector.get());
    return QByteArray(uchardet_get_charset(detector.get()));
}

bool isSingleByte(const QByteArray& name)
{
    const QByteArray lower = name.toLower();
    return lower.startsWith("windows-") || lower.startsWith("iso-8859-") || lower.startsWith("koi8-");
}

} // namespace

TTextEncoding::TTextEncoding(const QByteArray& name, bool keepUtf8Texts) : m_name(name)
{
    if (m_name.compare("UHC", Qt::CaseInsensitive) == 0) {
        // The detector's name for the Windows code page of Korean, a superset of EUC-KR.
        m_name = "CP949";
    }
    if (m_name != Ascii) {
        const QStringDecoder decoder(m_name.constData());
        if (!decoder.isValid()) {
            m_name = Windows1252;
        } else if (decoder.name() && m_name.compare(decoder.name(), Qt::CaseInsensitive) == 0) {
            // The converter's spelling: "Shift_JIS" for "SHIFT_JIS".
            m_name = decoder.name();
        }
    }
    m_keepUtf8Texts = keepUtf8Texts && isSingleByte(m_name);
    if (m_name != Utf8) {
        m_decoder = std::make_shared<QStringDecoder>(m_name == Ascii ? Windows1252 : m_name.constData(),
                                                     QStringConverter::Flag::Stateless);
    }
}

TTextEncoding TTextEncoding::detect(const QList<QByteArrayView>& texts)
{
    if (std::all_of(texts.begin(), texts.end(), isAscii)) {
        return TTextEncoding();
    }
    if (std::all_of(texts.begin(), texts.end(), isStrictUtf8)) {
        return TTextEncoding(Utf8);
    }
    QByteArray guess = guessOf(texts);
    if (guess.compare("ISO-8859-1", Qt::CaseInsensitive) == 0) {
        guess = Windows1252;
    }
    // A guess of UTF-8 or ASCII contradicts the checks above; a name the
    // converter does not know becomes windows-1252 as well.
    if (guess.isEmpty() || guess.compare(Utf8, Qt::CaseInsensitive) == 0
        || guess.compare(Ascii, Qt::CaseInsensitive) == 0 || isUnlikelyForMidiTexts(guess)) {
        guess = Windows1252;
    }
    return TTextEncoding(guess, true);
}

TTextEncoding TTextEncoding::detect(const TMidiFile& file)
{
    QList<QByteArrayView> texts;
    for (int index = 0; index < file.NumberOfTracks(); ++index) {
        for (const TMidiEvent& event : file.TrackAt(index)->Events()) {
            if (event.Status == midi::Meta && event.Value1 >= midi::TextMeta && event.Value1 <= midi::LastTextMeta
                && event.TextLength > 0) {
                texts.append(event.Text());
            }
        }
    }
    return detect(texts);
}

QStringList TTextEncoding::commonNames()
{
    return {QStringLiteral("UTF-8"),      QStringLiteral("windows-1252"), QStringLiteral("ISO-8859-2"),
            QStringLiteral("windows-1251"), QStringLiteral("Shift_JIS"),  QStringLiteral("GBK"),
            QStringLiteral("EUC-KR")};
}

QString TTextEncoding::decode(QByteArrayView bytes) const
{
    // Invalid sequences of a text that is not UTF-8 after all become
    // replacement characters, never lost text around them.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    if (m_name == Utf8) {
        return utf8.decode(bytes);
    }
    // A text the detection never saw (ASCII was found for the file) is read
    // as the player always read single texts: UTF-8 when valid, else windows-1252.
    const bool ascii = m_name == Ascii;
    if ((ascii || m_keepUtf8Texts) && !isAscii(bytes) && isStrictUtf8(bytes)) {
        return utf8.decode(bytes);
    }
    return m_decoder->decode(bytes);
}

QString TTextEncoding::decodeLatin1Held(const QString& heldName) const
{
    return decode(heldName.toLatin1());
}

} // namespace harmonet
