#pragma once
// The ventilation boost search: a stopping of 1 kilomurgue is tried in every
// ordinary working in turn, the network is solved each time, and the two
// places that give a target branch the largest flow are kept.
//
// The trials solve copies of the tables, several at once, so the caller's
// tables, flows included, are never changed by the search. The result is
// exactly that of trying the candidates one after another in increasing
// number: every trial starts from the same network, and the trials are
// compared in that order in the calling thread.
#include "calc/solver.h"

#include <QtCore/QString>

#include <functional>
#include <vector>

constexpr double BoostStoppingR = 1.0;   // kilomurgues
constexpr double BoostNoFlow = -1000.0;  // best and second flow before any trial

// One solve of t on its own arrays (R, additional depression, flows into BranchQ).
using TBoostSolve = std::function<CalcResult(TNetworkTables &t)>;
CalcResult SolveOwnTables(TNetworkTables &t);

struct TBoostTrial
{
    int Branch = 0;
    double Q = 0;  // the target's flow with the stopping in Branch
    CalcResult Code = crSolved;
};

struct TBoostState
{
    int Target = 0;
    double Q0 = 0;              // the target's flow before the search
    double Best = BoostNoFlow;
    double Second = BoostNoFlow;
    int BestBranch = 0;         // the target's own number until a trial beats -1000
    int SecondBranch = 0;       // 0 while no second place was named
    int Tried = 0;              // candidates tried, failed ones included
    int Failed = 0;             // trials whose solve failed; they are not compared
    CalcResult FirstFailure = crSolved;
    bool Stopped = false;       // the progress callback ended the search
};

// Called in the calling thread after every candidate, in increasing branch
// number, with the state once the trial was compared; false stops the search.
using TBoostProgress = std::function<bool(const TBoostState &state, const TBoostTrial &trial)>;

// An existing ordinary working ("Выработка", type 0) takes a trial stopping.
bool IsBoostCandidate(const TNetworkTables &t, int b);
std::vector<int> BoostCandidates(const TNetworkTables &t);

// The state before the first trial.
TBoostState StartBoost(const TNetworkTables &t, int target);
// Compares one trial: a larger flow than the best moves the best to second
// place; equal flows keep the earlier branch. A failed trial only counts.
void TakeBoostTrial(TBoostState &state, const TBoostTrial &trial);

// Solves the unchanged network once (its failure code is returned and no
// trial runs), then tries every candidate. threads = 0 takes one per core.
CalcResult RunBoostSearch(const TNetworkTables &t, int target, TBoostState &state,
                          const TBoostProgress &progress = {}, const TBoostSolve &solve = SolveOwnTables,
                          int threads = 0);

// "45,90  м3/с (+11,60 м3/с = +33,8%)": a flow with its change from q0 and the
// relative change; with q0 = 0 the change has no percentage.
QString FormatBoostFlow(double q, double q0);
// The target's own flow: "34,30 м3/с".
QString FormatBoostTargetFlow(double q);
