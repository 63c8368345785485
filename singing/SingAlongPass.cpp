#include "singing/SingAlongPass.h"

#include "singing/TakeFile.h"

namespace harmonet {

namespace {

double msBetween(SingAlongPass::Clock::time_point from, SingAlongPass::Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

} // namespace

SingAlongPass::SingAlongPass(QObject* parent)
    : QObject(parent)
{
    qRegisterMetaType<std::vector<PitchFrame>>();
}

SingAlongPass::~SingAlongPass()
{
    stop();
}

bool SingAlongPass::start(double songMs, Clock::time_point steadyTime, double latencyMs)
{
    stop();
    {
        const std::lock_guard lock(m_mutex);
        m_songMs = songMs;
        m_steadyTime = steadyTime;
        m_latencyMs = latencyMs;
        m_analyzer.emplace(SampleRate, 0.0);
        m_take.clear();
        m_firstSampleAt.reset();
        m_lostProblem = CaptureProblem::None;
    }
    MicrophoneCapture::Callbacks callbacks;
    callbacks.audio = [this](std::span<const float> samples, Clock::time_point arrival) {
        takeAudio(samples, arrival);
    };
    callbacks.failed = [this](CaptureProblem problem, const QString& detail) {
        {
            const std::lock_guard lock(m_mutex);
            m_lostProblem = problem;
        }
        const QString notice = captureProblemText(problem, detail);
        QMetaObject::invokeMethod(this, [this, notice] { emit captureLost(notice); }, Qt::QueuedConnection);
    };
    return m_capture.start(SampleRate, std::move(callbacks));
}

void SingAlongPass::setLatencyMs(double latencyMs)
{
    const std::lock_guard lock(m_mutex);
    m_latencyMs = latencyMs;
}

void SingAlongPass::stop()
{
    m_capture.stop();
}

bool SingAlongPass::listening() const
{
    return m_capture.running();
}

CaptureProblem SingAlongPass::problem() const
{
    const std::lock_guard lock(m_mutex);
    return m_lostProblem != CaptureProblem::None ? m_lostProblem : m_capture.problem();
}

QString SingAlongPass::notice() const
{
    return captureProblemText(problem(), m_capture.detail());
}

void SingAlongPass::takeAudio(std::span<const float> samples, Clock::time_point arrival)
{
    std::vector<PitchFrame> heard;
    {
        const std::lock_guard lock(m_mutex);
        if (qint64(m_take.size()) >= qint64(LongestTakeSeconds) * SampleRate) {
            return;
        }
        m_take.insert(m_take.end(), samples.begin(), samples.end());
        const auto recorded = std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(double(m_take.size()) / SampleRate));
        const Clock::time_point firstAt = arrival - recorded;
        if (!m_firstSampleAt || firstAt < *m_firstSampleAt) {
            m_firstSampleAt = firstAt;
        }
        const double startMs = takeStartLocked();
        for (PitchFrame frame : m_analyzer->push(samples)) {
            frame.ms += startMs;
            heard.push_back(frame);
        }
    }
    if (!heard.empty()) {
        QMetaObject::invokeMethod(this, [this, heard] { emit framesHeard(heard); }, Qt::QueuedConnection);
    }
}

double SingAlongPass::takeStartLocked() const
{
    return m_firstSampleAt ? m_songMs + msBetween(m_steadyTime, *m_firstSampleAt) - m_latencyMs : m_songMs;
}

std::vector<float> SingAlongPass::take() const
{
    const std::lock_guard lock(m_mutex);
    return m_take;
}

double SingAlongPass::takeStartMs() const
{
    const std::lock_guard lock(m_mutex);
    return takeStartLocked();
}

std::vector<PitchFrame> SingAlongPass::frames() const
{
    const std::lock_guard lock(m_mutex);
    if (!m_analyzer) {
        return {};
    }
    std::vector<PitchFrame> placed = m_analyzer->frames();
    const double startMs = takeStartLocked();
    for (PitchFrame& frame : placed) {
        frame.ms += startMs;
    }
    return placed;
}

std::vector<NoteResult> SingAlongPass::score(std::span<const TargetNote> notes, double fromMs, double toMs) const
{
    const std::vector<PitchFrame> placed = frames();
    return scoreNotes(notes, placed, fromMs, toMs);
}

} // namespace harmonet
