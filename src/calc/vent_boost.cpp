#include "calc/vent_boost.h"

#include "platform/numbers.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

CalcResult SolveOwnTables(TNetworkTables &t)
{
    return CalcAirDistribution(t, MaxBranchNo(t), MaxNodeNo(t), t.BranchNo, t.BranchStartNode, t.BranchEndNode,
                               t.NodeIsSurface, t.BranchR, t.BranchAuxDepression, t.BranchQ);
}

bool IsBoostCandidate(const TNetworkTables &t, int b)
{
    return ValidItemIndex(b) && t.BranchNo[b] == b && t.BranchType[b] == 0;
}

std::vector<int> BoostCandidates(const TNetworkTables &t)
{
    std::vector<int> candidates;
    const int last = MaxBranchNo(t);
    for (int b = 1; b <= last; ++b)
        if (IsBoostCandidate(t, b))
            candidates.push_back(b);
    return candidates;
}

TBoostState StartBoost(const TNetworkTables &t, int target)
{
    TBoostState state;
    state.Target = target;
    state.Q0 = ValidItemIndex(target) ? t.BranchQ[target] : 0;
    state.BestBranch = target;
    return state;
}

void TakeBoostTrial(TBoostState &state, const TBoostTrial &trial)
{
    ++state.Tried;
    if (trial.Code != crSolved) {
        // Its flows are no answer to the question; the failure is told once.
        if (state.Failed++ == 0)
            state.FirstFailure = trial.Code;
        return;
    }
    if (trial.Q > state.Best) {
        state.Second = state.Best;
        state.SecondBranch = state.BestBranch;
        state.Best = trial.Q;
        state.BestBranch = trial.Branch;
    } else if (trial.Q > state.Second) {
        state.Second = trial.Q;
        state.SecondBranch = trial.Branch;
    }
}

namespace {

TBoostTrial RunTrial(TNetworkTables &copy, int target, int b, const TBoostSolve &solve)
{
    const double own = copy.BranchR[b];
    copy.BranchR[b] = BoostStoppingR;
    TBoostTrial trial;
    trial.Branch = b;
    try {
        trial.Code = solve(copy);
    } catch (...) {
        // A worker thread must not end the program; the trial just failed.
        trial.Code = crCalcFailed;
    }
    trial.Q = copy.BranchQ[target];
    copy.BranchR[b] = own;
    return trial;
}

// The trials in worker threads, each on its own copy of the tables, taken
// from a shared counter; the caller compares them in candidate order.
class TTrialPool
{
public:
    TTrialPool(const TNetworkTables &t, int target, const std::vector<int> &candidates, const TBoostSolve &solve,
               int threads)
        : m_target(target), m_candidates(candidates), m_solve(solve), m_trials(candidates.size()),
          m_ready(candidates.size(), false)
    {
        // Copied here rather than in the workers, so that nothing reads the
        // caller's tables once the search has started.
        for (int i = 0; i < threads; ++i)
            m_copies.push_back(std::make_unique<TNetworkTables>(t));
        for (int i = 0; i < threads; ++i)
            m_workers.emplace_back([this, i] { Work(*m_copies[i]); });
    }
    ~TTrialPool()
    {
        m_stop = true;
        for (std::thread &w : m_workers)
            w.join();
    }

    // The trial of candidate i, once a worker has run it.
    TBoostTrial Take(std::size_t i)
    {
        std::unique_lock lock(m_mutex);
        m_done.wait(lock, [&] { return m_ready[i]; });
        return m_trials[i];
    }

private:
    void Work(TNetworkTables &copy)
    {
        for (;;) {
            if (m_stop)
                return;
            const std::size_t i = m_next++;
            if (i >= m_candidates.size())
                return;
            const TBoostTrial trial = RunTrial(copy, m_target, m_candidates[i], m_solve);
            {
                std::lock_guard lock(m_mutex);
                m_trials[i] = trial;
                m_ready[i] = true;
            }
            m_done.notify_all();
        }
    }

    int m_target;
    const std::vector<int> &m_candidates;
    const TBoostSolve &m_solve;
    std::vector<TBoostTrial> m_trials;
    std::vector<bool> m_ready;
    std::vector<std::unique_ptr<TNetworkTables>> m_copies;
    std::vector<std::thread> m_workers;
    std::atomic<std::size_t> m_next{0};
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::condition_variable m_done;
};

} // namespace

CalcResult RunBoostSearch(const TNetworkTables &t, int target, TBoostState &state, const TBoostProgress &progress,
                          const TBoostSolve &solve, int threads)
{
    state = StartBoost(t, target);
    const auto first = std::make_unique<TNetworkTables>(t);
    if (const CalcResult code = solve(*first); code != crSolved)
        return code;
    const std::vector<int> candidates = BoostCandidates(t);
    if (candidates.empty())
        return crSolved;
    const auto take = [&](const TBoostTrial &trial) {
        TakeBoostTrial(state, trial);
        if (progress && !progress(state, trial))
            state.Stopped = true;
        return !state.Stopped;
    };

    if (threads <= 0)
        threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    threads = std::min<int>(threads, static_cast<int>(candidates.size()));
    if (threads == 1) {
        for (int b : candidates)
            if (!take(RunTrial(*first, target, b, solve)))
                break;
        return crSolved;
    }
    TTrialPool pool(t, target, candidates, solve, threads);
    for (std::size_t i = 0; i < candidates.size(); ++i)
        if (!take(pool.Take(i)))
            break;
    return crSolved;
}

QString FormatBoostFlow(double q, double q0)
{
    const QString unit = QStringLiteral("м3/с");
    const double d = q - q0;
    const QString sign = d > 0 ? QStringLiteral("+") : QString();
    QString text = FormatFixed(q, 2) + QStringLiteral("  ") + unit + QStringLiteral(" (") + sign + FormatFixed(d, 2)
        + QStringLiteral(" ") + unit;
    // A flow that was 0 has no relative change.
    if (q0 != 0)
        text += QStringLiteral(" = ") + sign + FormatFixed(d * 100 / q0, 1) + QStringLiteral("%");
    return text + QStringLiteral(")");
}

QString FormatBoostTargetFlow(double q)
{
    return FormatFixed(q, 2) + QStringLiteral(" м3/с");
}
