#include "session/PlayingSession.h"

#include "core/ErrorReport.h"
#include "midiout/MidiOut.h"
#include "midiout/SynthBackend.h"
#include "practice/ChannelRouting.h"
#include "sequencer/BarMap.h"
#include "sequencer/GMPrograms.h"
#include "sequencer/MidiBytes.h"
#include "sequencer/SequencerErrors.h"
#include "session/MidiSink.h"
#include "session/Song.h"

#include <QLocale>

#include <algorithm>
#include <bitset>
#include <cmath>

namespace harmonet {

namespace {

constexpr quint8 NoteOff = 0x80;
constexpr int MyNoteVelocity = 100;

// The last channel the song sends nothing on, other than the percussion
// channel and those taken (0 for none); 0 when there is none.
int freeChannelBeside(const TMidiFile& song, std::initializer_list<int> taken)
{
    std::bitset<16> used;
    used.set(midi::PercussionChannel - 1);
    for (const int channel : taken) {
        if (channel > 0) {
            used.set(std::size_t(channel - 1));
        }
    }
    for (int index = 0; index < song.NumberOfTracks(); ++index) {
        for (const TMidiEvent& event : song.TrackAt(index)->Events()) {
            if (event.Status >= 0x80 && event.Status < 0xF0) {
                used.set(event.Status & 0x0F);
            }
        }
    }
    for (int channel = 16; channel >= 1; --channel) {
        if (!used.test(std::size_t(channel - 1))) {
            return channel;
        }
    }
    return 0;
}

int clickKey(const CountInClick& click)
{
    return click.accent ? AccentClickKey : BeatClickKey;
}

// Reports what a timer's handler raised: nothing may leave it.
template <typename Action>
void reporting(const Action& action)
{
    try {
        action();
    } catch (const std::exception& error) {
        reportError(error);
    }
}

} // namespace

// The live output device: a message that fell due goes out with its moment
// on the steady clock, as the sequencer's clock tells it.
class PlayingSession::OutputSink final : public MidiSink {
public:
    OutputSink(TMidiOutput& output, const TMidiFile& sequencer, const bool& open)
        : m_output(output), m_sequencer(sequencer), m_open(open)
    {
    }

    bool isOpen() const override { return m_open; }
    bool isBuiltInSynthesizer() const override { return m_builtIn; }
    void setBuiltInSynthesizer(bool builtIn) { m_builtIn = builtIn; }
    void send(const TMyMidiEvent& message, const std::optional<TDue>& due) override
    {
        m_output.SendEvent(message, due ? m_sequencer.SteadyTimeAt(due->ms) : std::nullopt);
    }

    TMidiOutput& output() { return m_output; }

private:
    TMidiOutput& m_output;
    const TMidiFile& m_sequencer;
    const bool& m_open;
    bool m_builtIn = false;
};

PlayingSession::PlayingSession(QObject* parent)
    : QObject(parent), m_sequencer(std::make_unique<TMidiFile>(this)), m_gateway(*m_sequencer, m_tracks)
{
    m_sequencer->setObjectName(QStringLiteral("MidiFile1"));
    m_sequencer->SetOnMidiEvent([this](PMidiEvent event) { dispatch(*event); });
    m_sequencer->SetOnLoopWrap([this](const TDue& at) { return loopWrapped(at); });
    m_countInTimer.setTimerType(Qt::PreciseTimer);
    m_countInTimer.setSingleShot(true);
    connect(&m_countInTimer, &QTimer::timeout, this, [this] { reporting([this] { countInTick(); }); });
    m_myNoteTimer.setSingleShot(true);
    connect(&m_myNoteTimer, &QTimer::timeout, this, [this] { reporting([this] { endMyNote(); }); });
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
    cancelCountIn();
    endMyNote();
    m_gateway.setClickChannel(fileLoaded() ? clickChannelOf(*m_sequencer) : 0);
    layMetronome();
    emit songChanged();
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
    SongSettings settings;
    settings.bpm = m_sequencer->Bpm();
    settings.followTempoChanges = m_sequencer->FollowsTempoChanges();
    settings.trackMixerInForce = trackMixerInForce();
    settings.transpose = transpose();
    settings.clicks = m_clicks;
    settings.pickupBeats = m_pickupBeats;
    settings.loop = m_loop;
    settings.tracks = m_tracks;
    return settings;
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
    setTranspose(settings.transpose);
    setClicks(settings.clicks);
    setPickupBeats(settings.pickupBeats);
    const std::size_t count = std::min(m_tracks.size(), settings.tracks.size());
    std::copy_n(settings.tracks.begin(), count, m_tracks.begin());
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
    m_outputSink->setBuiltInSynthesizer(port == SynthBackend::deviceName());
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
    // A start made now takes the place of a count-in still under way.
    cancelCountIn();
    if (ms == 0) {
        m_sequencer->PlayFromStart();
    } else {
        m_sequencer->AdvanceTo(ms);
        m_sequencer->ResumePlay();
    }
}

void PlayingSession::setClicks(const ClickSettings& clicks)
{
    const ClickSettings bounded = boundedClicks(clicks);
    const bool relay = bounded.metronome != m_clicks.metronome || bounded.level != m_clicks.level;
    m_clicks = bounded;
    m_gateway.setClicksOnSystemPorts(m_clicks.onSystemPorts);
    if (relay) {
        layMetronome();
    }
}

void PlayingSession::layMetronome()
{
    const int channel = m_gateway.clickChannel();
    if (!m_clicks.metronome || !fileLoaded() || channel == 0) {
        m_sequencer->SetClickTrack(nullptr);
        return;
    }
    const std::vector<BeatClick> beats = beatsOfSong(bars());
    std::vector<TMidiEvent> events;
    events.reserve(2 * beats.size());
    const auto tickOf = [](double ticks) { return qint32(std::clamp(std::llround(ticks), 0LL, 2147483647LL)); };
    for (std::size_t i = 0; i < beats.size(); ++i) {
        const qint32 at = tickOf(beats[i].ticks);
        const qint32 next = i + 1 < beats.size() ? tickOf(beats[i + 1].ticks) : at + m_sequencer->TicksPerQuarter();
        const quint8 key = quint8(beats[i].accent ? AccentClickKey : BeatClickKey);
        TMidiEvent on;
        on.Status = quint8(midi::NoteOn + channel - 1);
        on.Value1 = key;
        on.Value2 = quint8(clickVelocity(m_clicks, beats[i].accent));
        on.Ticks = at;
        TMidiEvent off = on;
        off.Status = quint8(NoteOff + channel - 1);
        off.Value2 = 0;
        // Struck for half a beat.
        off.Ticks = at + std::max<qint32>(1, (next - at) / 2);
        events.push_back(on);
        events.push_back(off);
    }
    m_sequencer->SetClickTrack(TMidiTrack::ofEvents(events, [this](PMidiEvent event) { clickDue(*event); }));
}

void PlayingSession::clickDue(const TMidiEvent& event)
{
    const std::optional<TDue> due = m_sequencer->DueOf(event);
    if ((event.Status & 0xF0) == midi::NoteOn) {
        m_gateway.sendClick(event.Value1, event.Value2, due);
    } else {
        m_gateway.endClick(event.Value1, due);
    }
}

CountIn PlayingSession::countInAt(int ms) const
{
    if (!fileLoaded() || m_clicks.countInBars == 0) {
        return {};
    }
    return harmonet::countInAt(*m_sequencer, bars(), ms, m_clicks.countInBars);
}

void PlayingSession::startAfterCountIn(int ms)
{
    cancelCountIn();
    CountIn plan = countInAt(ms);
    if (plan.clicks.empty() || !m_gateway.clicksHeard()) {
        startAt(ms);
        return;
    }
    // Nothing of the song sounds while it is counted in.
    m_sequencer->HaltPlay();
    m_countIn = CountInUnderWay{std::move(plan), ms, m_sequencer->clock().nowMs(), 0};
    countInTick();
}

void PlayingSession::countInTick()
{
    if (!m_countIn) {
        return;
    }
    CountInUnderWay& countIn = *m_countIn;
    const double elapsed = double(m_sequencer->clock().nowMs() - countIn.startClockMs);
    const std::vector<CountInClick>& clicks = countIn.plan.clicks;
    while (countIn.next < clicks.size() && clicks[countIn.next].ms <= elapsed) {
        strikeCountIn(countIn.plan, countIn.next);
        ++countIn.next;
    }
    const double wakeAt = countIn.next < clicks.size() ? clicks[countIn.next].ms : countIn.plan.lengthMs;
    if (wakeAt > elapsed) {
        m_countInTimer.start(int(std::ceil(wakeAt - elapsed)));
        return;
    }
    const int from = countIn.fromMs;
    const bool startsSong = countIn.startsSong;
    cancelCountIn();
    if (startsSong) {
        startAt(from);
        emit countInFinished();
    }
}

void PlayingSession::cancelCountIn()
{
    m_countInTimer.stop();
    if (m_countIn && m_countIn->next > 0) {
        m_gateway.endClick(clickKey(m_countIn->plan.clicks[m_countIn->next - 1]));
    }
    m_countIn.reset();
}

void PlayingSession::cancelPassCountIn()
{
    if (m_countIn && !m_countIn->startsSong) {
        cancelCountIn();
    }
}

void PlayingSession::strikeCountIn(const CountIn& plan, std::size_t index, const MidiGateway::Due& due)
{
    // Each click sounds until the next one.
    if (index > 0 && index <= plan.clicks.size()) {
        m_gateway.endClick(clickKey(plan.clicks[index - 1]), due);
    }
    if (index < plan.clicks.size()) {
        const CountInClick& click = plan.clicks[index];
        m_gateway.sendClick(clickKey(click), clickVelocity(m_clicks, click.accent), due);
    }
}

std::optional<int> PlayingSession::myNoteAt(int ms) const
{
    const TVoice* voice = myVoice();
    if (!fileLoaded() || !voice) {
        return std::nullopt;
    }
    const qint64 at = m_sequencer->TicksAtMs(ms);
    for (const TVoiceNote& note : voice->notes) {
        if (note.tick >= at || qint64(note.tick) + note.length > at) {
            return note.key;
        }
    }
    return std::nullopt;
}

bool PlayingSession::giveMyNote(int ms)
{
    const std::optional<int> key = myNoteAt(ms);
    if (!key || !m_gateway.isOpen()) {
        return false;
    }
    endMyNote();
    // A channel of its own, where the song leaves one free beside my part's
    // and the clicks', so that neither the song's notes nor my part's level
    // (silent without my part) touch it.
    const int free = freeChannelBeside(*m_sequencer, {m_gateway.clickChannel(), m_gateway.voiceRouting().freeChannel()});
    const int channel = free > 0 ? free : myChannel();
    if (!MidiGateway::validChannel(channel)) {
        return false;
    }
    if (free > 0) {
        m_gateway.offer(MidiGateway::program(channel, m_tracks[std::size_t(myVoice()->track)].program()));
        m_gateway.offer(MidiGateway::controller(channel, midi::VolumeController, midi::DefaultVolume));
        m_gateway.offer(MidiGateway::controller(channel, midi::PanController, midi::CentrePan));
    }
    m_gateway.offer(MidiGateway::note(channel, *key, MyNoteVelocity));
    m_myNote = {channel, *key};
    m_myNoteTimer.start(MyNoteMs);
    return true;
}

void PlayingSession::endMyNote()
{
    m_myNoteTimer.stop();
    if (m_myNote) {
        m_gateway.offer(TMyMidiEvent(quint8(NoteOff + m_myNote->first - 1), dataByte(m_myNote->second), 0));
        m_myNote.reset();
    }
}

void PlayingSession::setTranspose(int semitones)
{
    const int before = transpose();
    m_gateway.setTranspose(semitones);
    if (transpose() != before) {
        emit transposeChanged(transpose());
    }
}

void PlayingSession::seek(int ms)
{
    cancelPassCountIn();
    m_gateway.release();
    m_sequencer->JumpTo(ms);
    chaseHere();
    emit positionJumped(ms);
}

void PlayingSession::seekToBar(qint64 bar)
{
    if (!bars().IsEmpty()) {
        seekToTicks(bars().TicksOfBar(bar));
    }
}

void PlayingSession::seekToTicks(double ticks)
{
    cancelPassCountIn();
    m_gateway.release();
    m_sequencer->JumpToTicks(ticks);
    chaseHere();
    emit positionJumped(m_sequencer->CurrentTime());
}

void PlayingSession::windTo(int ms)
{
    cancelPassCountIn();
    m_sequencer->JumpTo(ms);
    emit positionJumped(ms);
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
    layMetronome();
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

double PlayingSession::loopWrapped(const TDue& at)
{
    m_gateway.release(at);
    m_gateway.chase(m_loopStartStates, at);
    emit wrapped(m_sequencer->LoopPass() + 1, at);
    return countInBeforePass(at);
}

double PlayingSession::countInBeforePass(const TDue& at)
{
    const std::optional<TTickLoop>& loop = m_sequencer->Loop();
    if (!m_clicks.beforeEachPass || !loop || !m_gateway.clicksHeard()) {
        return 0.0;
    }
    const CountIn plan = countInAt(int(std::lround(m_sequencer->MsAtTicks(double(loop->StartTicks)))));
    if (plan.clicks.empty()) {
        return 0.0;
    }
    if (m_sequencer->DrivenByCaller()) {
        // Rendered: every click with its moment after the wrap, in order
        // before the pass's first events.
        for (std::size_t click = 0; click <= plan.clicks.size(); ++click) {
            const double ms = at.exactMs + (click < plan.clicks.size() ? plan.clicks[click].ms : plan.lengthMs);
            strikeCountIn(plan, click, TDue{qint64(std::floor(ms)), ms});
        }
    } else {
        // Live: on the count-in's own timer, from the clock's moment of the wrap.
        cancelCountIn();
        const auto startClockMs = qint64(std::floor(m_sequencer->ClockMsAt(at.exactMs)));
        m_countIn = CountInUnderWay{plan, 0, startClockMs, 0, false};
        countInTick();
    }
    return plan.lengthMs;
}

} // namespace harmonet
