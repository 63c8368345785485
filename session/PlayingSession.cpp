#include "session/PlayingSession.h"

#include "midiout/MidiOut.h"
#include "sequencer/GMPrograms.h"
#include "sequencer/MidiBytes.h"
#include "sequencer/SequencerErrors.h"
#include "session/MidiSink.h"
#include "session/Song.h"

#include <QLocale>

#include <algorithm>

namespace harmonet {

// The live output device: a message that fell due goes out with its moment
// on the steady clock, as the sequencer's clock tells it.
class PlayingSession::OutputSink final : public MidiSink {
public:
    OutputSink(TMidiOutput& output, const TMidiFile& sequencer, const bool& open)
        : m_output(output), m_sequencer(sequencer), m_open(open)
    {
    }

    bool isOpen() const override { return m_open; }
    void send(const TMyMidiEvent& message, const std::optional<TDue>& due) override
    {
        m_output.SendEvent(message, due ? m_sequencer.SteadyTimeAt(due->ms) : std::nullopt);
    }

    TMidiOutput& output() { return m_output; }

private:
    TMidiOutput& m_output;
    const TMidiFile& m_sequencer;
    const bool& m_open;
};

PlayingSession::PlayingSession(QObject* parent)
    : QObject(parent), m_sequencer(std::make_unique<TMidiFile>(this)), m_gateway(*m_sequencer, m_tracks)
{
    m_sequencer->setObjectName(QStringLiteral("MidiFile1"));
    m_sequencer->SetOnMidiEvent([this](PMidiEvent event) { dispatch(*event); });
}

PlayingSession::~PlayingSession() = default;

void PlayingSession::dispatch(const TMidiEvent& event)
{
    if (event.Status == midi::Meta) {
        emit metaEventDue(&event);
        return;
    }
    // An event read before any status byte carries no message.
    if (event.Status < 0x80) {
        return;
    }
    m_gateway.route(event, m_sequencer->DueOf(event));
}

void PlayingSession::load(const QString& path)
{
    std::shared_ptr<const Song> song;
    try {
        song = Song::read(path);
    } catch (...) {
        m_sequencer->SetFilename(path);
        takeSong(nullptr);
        throw;
    }
    takeSong(std::move(song));
}

void PlayingSession::setSong(std::shared_ptr<const Song> song)
{
    takeSong(std::move(song));
}

void PlayingSession::close()
{
    takeSong(nullptr);
}

void PlayingSession::takeSong(std::shared_ptr<const Song> song)
{
    m_song = std::move(song);
    if (m_song) {
        m_sequencer->LoadSongFrom(m_song->file());
    } else {
        m_sequencer->LoadSongFromBytes(QByteArray());
    }
    m_tracks.clear();
    for (int i = 0; i < m_sequencer->NumberOfTracks(); ++i) {
        m_tracks.push_back(TrackSettings::ofFile(*m_sequencer->TrackAt(i)));
    }
    m_myVoice = -1;
    m_gateway.songChanged(m_song ? &m_song->voices() : nullptr);
    setPartNotice(QString());
}

const QList<TVoice>& PlayingSession::voices() const
{
    static const QList<TVoice> none;
    return m_song ? m_song->voices() : none;
}

const TVoice* PlayingSession::myVoice() const
{
    return m_myVoice >= 0 ? &voices()[m_myVoice] : nullptr;
}

void PlayingSession::setPracticeChoice(const PracticeChoice& choice)
{
    PracticeChoice taken = choice;
    m_myVoice = voiceIndex(voices(), choice.part);
    taken.part = m_myVoice >= 0 ? voices()[m_myVoice].key() : PracticeChoice::NoPart;
    m_gateway.setPracticeChoice(taken, m_myVoice);
    if (!m_gateway.voiceRouting().sharedWithoutFreeChannel()) {
        setPartNotice(QString());
        return;
    }
    QStringList partners;
    for (const TVoice& voice : voices()) {
        if (voice.channel == myVoice()->channel && &voice != myVoice()) {
            partners.append(tr("\u201C%1\u201D").arg(voice.name));
        }
    }
    setPartNotice(tr("\u201C%1\u201D sings on one staff with %2, and this song leaves no room to play it apart: "
                     "they are brought forward together.")
                      .arg(myVoice()->name, QLocale().createSeparatedList(partners)));
}

void PlayingSession::setPartNotice(const QString& notice)
{
    if (notice != m_partNotice) {
        m_partNotice = notice;
        emit partNoticeChanged();
    }
}

const TrackSettings& PlayingSession::track(int index) const
{
    if (index < 0 || index >= trackCount()) {
        throw EIndexOutOfBounds(index);
    }
    return m_tracks[std::size_t(index)];
}

TrackSettings& PlayingSession::settingsOf(int track)
{
    return const_cast<TrackSettings&>(std::as_const(*this).track(track));
}

void PlayingSession::setMuted(int track, bool muted)
{
    settingsOf(track).muted = muted;
}

void PlayingSession::setInstrument(int track, int program)
{
    TrackSettings& settings = settingsOf(track);
    m_gateway.sendInstrument(track, program);
    settings.instrument = GMProgramName(program);
}

void PlayingSession::setTrackVolume(int track, int volume)
{
    m_gateway.sendTrackMix(track, midi::VolumeController, volume);
    settingsOf(track).volume = volume;
}

void PlayingSession::setTrackPan(int track, int pan)
{
    m_gateway.sendTrackMix(track, midi::PanController, pan);
    settingsOf(track).pan = pan;
}

SongSettings PlayingSession::settings() const
{
    return {m_sequencer->Bpm(), m_sequencer->FollowsTempoChanges(), trackMixerInForce(), m_tracks};
}

void PlayingSession::applySettings(const SongSettings& settings)
{
    // Switching the tempo map on or off sets the file's own tempo, so the
    // chosen tempo comes after it.
    m_sequencer->SetFollowTempoChanges(settings.followTempoChanges);
    if (settings.bpm > 0) {
        m_sequencer->SetBpm(settings.bpm);
    }
    setTrackMixerInForce(settings.trackMixerInForce);
    const std::size_t count = std::min(m_tracks.size(), settings.tracks.size());
    std::copy_n(settings.tracks.begin(), count, m_tracks.begin());
}

void PlayingSession::setSink(MidiSink* sink)
{
    m_gateway.setSink(sink);
}

void PlayingSession::setOutput(TMidiOutput* output)
{
    m_outputSink = output ? std::make_unique<OutputSink>(*output, *m_sequencer, m_outputOpen) : nullptr;
    setSink(m_outputSink.get());
    if (output) {
        connect(output, &TMidiOutput::DeviceNoticeChanged, this, &PlayingSession::outputNoticeChanged);
        connect(output, &TMidiOutput::DeviceLost, this, &PlayingSession::outputLost);
    }
}

bool PlayingSession::openOutput(const QString& port)
{
    if (!m_outputSink) {
        return false;
    }
    m_outputSink->output().setProductName(port);
    m_outputOpen = m_outputSink->output().OpenDevice();
    m_gateway.outputReopened();
    return m_outputOpen;
}

void PlayingSession::closeOutput()
{
    if (m_outputOpen && m_outputSink) {
        m_outputSink->output().CloseDevice();
        m_outputOpen = false;
    }
}

void PlayingSession::sendInstruments()
{
    // Track 0 holds the tempo map: only the voices get their instrument again.
    for (int track = 1; track < trackCount(); ++track) {
        setInstrument(track, m_tracks[std::size_t(track)].program());
    }
}

void PlayingSession::startAt(int ms)
{
    if (ms == 0) {
        m_sequencer->PlayFromStart();
    } else {
        m_sequencer->AdvanceTo(ms);
        m_sequencer->ResumePlay();
    }
}

void PlayingSession::seek(int ms)
{
    m_sequencer->SeekTo(ms);
    m_sequencer->AdvanceTo(ms);
}

} // namespace harmonet
