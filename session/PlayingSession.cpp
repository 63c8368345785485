#include "session/PlayingSession.h"

#include "midiout/MidiOut.h"
#include "sequencer/GMPrograms.h"
#include "sequencer/MidiBytes.h"
#include "sequencer/SequencerErrors.h"
#include "session/MidiSink.h"
#include "session/Song.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

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
    m_sequencer->SetOnLoopWrap([this](const TDue& at) { loopWrapped(at); });
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
    m_channelStates = TChannelSetupTimeline(*m_sequencer);
    m_pickupBeats.reset();
    m_bars.reset();
    const bool hadLoop = m_loop.has_value();
    m_loop.reset();
    m_sequencer->SetLoop(std::nullopt);
    if (hadLoop) {
        emit loopChanged();
    }
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
    return {m_sequencer->Bpm(), m_sequencer->FollowsTempoChanges(), trackMixerInForce(), m_tracks, m_pickupBeats,
            m_loop};
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
    setPickupBeats(settings.pickupBeats);
    if (settings.loop) {
        setLoop(settings.loop->firstBar, settings.loop->lastBar, settings.loop->passes);
    } else {
        clearLoop();
    }
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
    m_gateway.release();
    m_sequencer->JumpTo(ms);
    chaseHere();
}

void PlayingSession::seekToBar(qint64 bar)
{
    if (!bars().IsEmpty()) {
        seekToTicks(bars().TicksOfBar(bar));
    }
}

void PlayingSession::seekToTicks(double ticks)
{
    m_gateway.release();
    m_sequencer->JumpToTicks(ticks);
    chaseHere();
}

void PlayingSession::windTo(int ms)
{
    m_sequencer->JumpTo(ms);
}

void PlayingSession::chaseHere()
{
    m_gateway.chase(m_channelStates.At(m_sequencer->CurrentPos()));
}

void PlayingSession::setPickupBeats(std::optional<double> beats)
{
    if (beats == m_pickupBeats) {
        return;
    }
    m_pickupBeats = beats;
    m_bars.reset();
    placeLoop();
}

const TBarMap& PlayingSession::bars() const
{
    const bool follow = m_sequencer->FollowsTempoChanges();
    if (!m_bars || m_barsFollowTempo != follow) {
        m_bars = fileLoaded() ? TBarMap::ofSong(*m_sequencer, follow, m_pickupBeats) : TBarMap();
        m_barsFollowTempo = follow;
    }
    return *m_bars;
}

TBarPosition PlayingSession::barPosition() const
{
    return bars().BarAtTicks(m_sequencer->CurrentPos());
}

void PlayingSession::setLoop(qint64 firstBar, qint64 lastBar, int passes)
{
    const TBarMap& map = bars();
    if (map.IsEmpty()) {
        clearLoop();
        return;
    }
    const qint64 first = std::clamp(std::min(firstBar, lastBar), map.FirstBar(), map.LastBar());
    const qint64 last = std::clamp(std::max(firstBar, lastBar), map.FirstBar(), map.LastBar());
    const BarLoop loop{first, last, std::max(passes, 0)};
    if (m_loop == loop) {
        return;
    }
    m_loop = loop;
    placeLoop();
    emit loopChanged();
}

void PlayingSession::clearLoop()
{
    if (!m_loop) {
        return;
    }
    m_loop.reset();
    m_sequencer->SetLoop(std::nullopt);
    emit loopChanged();
}

void PlayingSession::placeLoop()
{
    if (!m_loop) {
        return;
    }
    const TBarMap& map = bars();
    const qint64 start = qint64(std::llround(map.TicksOfBar(m_loop->firstBar)));
    const qint64 end = qint64(std::llround(map.TicksOfBar(m_loop->lastBar + 1)));
    m_sequencer->SetLoop(TTickLoop{start, end, m_loop->passes});
    m_loopStartStates = m_channelStates.At(double(start));
}

std::optional<std::pair<int, int>> PlayingSession::loopSpanMs() const
{
    const std::optional<TTickLoop>& loop = m_sequencer->Loop();
    if (!m_loop || !loop) {
        return std::nullopt;
    }
    return std::pair<int, int>(int(std::lround(m_sequencer->MsAtTicks(double(loop->StartTicks)))),
                               int(std::lround(m_sequencer->MsAtTicks(double(loop->EndTicks)))));
}

void PlayingSession::loopWrapped(const TDue& at)
{
    m_gateway.release(at);
    m_gateway.chase(m_loopStartStates, at);
    emit wrapped(m_sequencer->LoopPass() + 1, at);
}

} // namespace harmonet
