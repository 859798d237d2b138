// Not a benchmark: a sweep, run by hand, of the solver over many generated
// networks. Where the loop method's own passes settle within MaxPasses, the
// solver must run exactly those passes to the same flows, and never take such a
// network to the extended solve. Prints one line per family and every network
// that breaks this; exits with 1 when one did.
//
//   settle_sweep [first seed] [last seed]
#include "generated_network.h"
#include "method_passes.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>

namespace {

// The families, each seed a network: mine-like ones of every size the tables
// hold and of 20 to 100 panels, where the passes settle late most often, with
// one to seven fans and one to three intakes; small mine-like ones whose
// resistances and fan depressions are bent by random factors, among which
// are networks whose passes stall for tens of passes, or stay millions of
// tolerances away, and still settle late; random ones of 8 to 900 nodes.
std::string Generate(TNetworkTables &t, const std::string &family, unsigned s)
{
    if (family == "mine") {
        const int panels = 4 + static_cast<int>(s * 37 % 308);
        const int fans = 1 + static_cast<int>(s % 4 == 0 ? s / 4 % 7 : 0);
        const int intakes = 1 + static_cast<int>(s / 3 % 3);
        MakeMineNetwork(t, panels, s, fans, intakes);
        return std::to_string(panels) + " panels, " + std::to_string(fans) + " fans, " + std::to_string(intakes)
               + " intakes";
    }
    if (family == "late mine") {
        const int panels = 20 + static_cast<int>(s * 13 % 80);
        const int fans = 1 + static_cast<int>(s % 3);
        const int intakes = 1 + static_cast<int>(s / 3 % 3);
        MakeMineNetwork(t, panels, s, fans, intakes);
        return std::to_string(panels) + " panels, " + std::to_string(fans) + " fans, " + std::to_string(intakes)
               + " intakes";
    }
    if (family == "bent mine") {
        const int panels = 3 + static_cast<int>(s % 17);
        MakeMineNetwork(t, panels, s, 1 + static_cast<int>(s % 3), 1 + static_cast<int>(s / 3 % 3));
        std::mt19937 random(s);
        const double spread = std::uniform_real_distribution<double>(0.5, 4)(random);
        std::normal_distribution<double> bend(0, spread);
        for (int b = 1; b <= MaxBranchNo(t); ++b) {
            t.BranchR[b] *= std::exp(bend(random));
            if (t.BranchAuxDepression[b] != 0)
                t.BranchAuxDepression[b] *= std::exp(bend(random));
        }
        return std::to_string(panels) + " panels, bent by up to e^" + std::to_string(spread);
    }
    const int nodes = 8 + static_cast<int>(s * 7 % 900);
    MakeRandomNetwork(t, nodes, 2 * nodes + static_cast<int>(s % 5) * nodes / 2, s);
    return std::to_string(nodes) + " nodes";
}

} // namespace

int main(int argc, char **argv)
{
    const unsigned first = argc > 1 ? static_cast<unsigned>(std::atoi(argv[1])) : 1;
    const unsigned last = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 1000;
    auto tables = std::make_unique<TNetworkTables>();
    auto flows = std::make_unique<TTable<double>>();
    TNetworkTables &t = *tables;
    int faults = 0;
    for (const char *family : {"mine", "late mine", "bent mine", "random"}) {
        int networks = 0, settled = 0, late = 0;
        for (unsigned s = first; s <= last; ++s) {
            const std::string what = Generate(t, family, s);
            const int settledAt = MethodPasses(t, *flows);
            if (settledAt < 0)
                continue;
            TSolveStats stats;
            const CalcResult code = CalcTablesAir(t, &stats);
            ++networks;
            const bool same = code == crSolved
                              && (settledAt == 0
                                      ? stats.Settling != stSettled && stats.Passes > MaxPasses
                                      : stats.Settling == stSettled && stats.Passes == settledAt
                                            && std::memcmp(flows->data() + 1, t.BranchQ.data() + 1,
                                                           sizeof(double) * MaxBranchNo(t))
                                                   == 0);
            if (!same) {
                ++faults;
                std::printf("%s %u (%s): the method settles at pass %d, the solver gives code %d, %d passes, "
                            "settling %d\n",
                            family, s, what.c_str(), settledAt, code, stats.Passes, stats.Settling);
            }
            settled += settledAt > 0;
            late += settledAt > 150;
        }
        std::printf("%s: %d networks, %d settle within the passes (%d after pass 150)\n", family, networks, settled,
                    late);
        std::fflush(stdout);
    }
    return faults == 0 ? 0 : 1;
}
