#include "slotproblem.h"

#include <gecode/int.hh>
#include <gecode/minimodel.hh>
#include <gecode/search.hh>

#include <algorithm>
#include <chrono>
#include <memory>
#include <numeric>

namespace korvesta {

namespace {

using namespace Gecode;

// One lesson a line may take: the choice the search makes.
struct Candidate
{
    int line = 0;
    int slot = 0;
};

// The candidates in the order the search tries them: the first lesson of every day for every
// line, then the second, so that the first plan already keeps days compact and spread.
std::vector<Candidate> candidatesOf(const SlotProblem &p)
{
    std::vector<Candidate> all;
    for (int i = 0; i < int(p.lines.size()); ++i) {
        for (const int slot : p.lines[size_t(i)].open)
            all.push_back({i, slot});
    }
    std::stable_sort(all.begin(), all.end(), [&](const Candidate &a, const Candidate &b) {
        const int la = p.lessonOf(a.slot), lb = p.lessonOf(b.slot);
        if (la != lb)
            return la < lb;
        return p.dayOf(a.slot) < p.dayOf(b.slot);
    });
    return all;
}

// Restarts of the neighbourhood search without a better plan after which it ends.
constexpr unsigned long kStaleRestarts = 150;

// The groups that share a tutor with each group: freeing a group's day helps only when the
// lessons that hem it in, which are its tutors' lessons elsewhere, may move too.
std::vector<std::vector<int>> relatedGroups(const SlotProblem &p)
{
    std::vector<std::vector<int>> byTutor(size_t(p.tutors));
    for (const SlotProblem::Line &l : p.lines)
        byTutor[size_t(l.tutor)].push_back(l.group);
    std::vector<std::vector<int>> related(size_t(p.groups));
    for (std::vector<int> &groups : byTutor) {
        std::sort(groups.begin(), groups.end());
        groups.erase(std::unique(groups.begin(), groups.end()), groups.end());
        for (const int g : groups)
            related[size_t(g)].insert(related[size_t(g)].end(), groups.begin(), groups.end());
    }
    for (std::vector<int> &groups : related) {
        std::sort(groups.begin(), groups.end());
        groups.erase(std::unique(groups.begin(), groups.end()), groups.end());
    }
    return related;
}

// The candidates of one tutor at one slot by the job (line of his load) they teach, in the
// order first met.
struct JobsAtSlot
{
    std::vector<std::pair<int, std::vector<int>>> entries;
    void add(int job, int candidate)
    {
        for (auto &[j, members] : entries) {
            if (j == job) {
                members.push_back(candidate);
                return;
            }
        }
        entries.push_back({job, {candidate}});
    }
};

// Stops the search at the time limit, when the user cancels, or when the neighbourhood search
// has gone long without finding anything better (which keeps the plan the same from run to
// run).
class LimitStop : public Search::Stop
{
public:
    LimitStop(double seconds, const std::atomic<bool> *cancel)
        : m_end(std::chrono::steady_clock::now()
                + std::chrono::microseconds(static_cast<long long>(seconds * 1e6)))
        , m_cancel(cancel)
    {}
    bool stop(const Search::Statistics &statistics, const Search::Options &) override
    {
        if (m_cancel && m_cancel->load()) {
            cancelled = true;
            return true;
        }
        restarts = statistics.restart;
        if (restarts > improvedAt + kStaleRestarts) {
            stale = true;
            return true;
        }
        return std::chrono::steady_clock::now() >= m_end;
    }
    bool cancelled = false;
    bool stale = false;
    unsigned long restarts = 0;
    unsigned long improvedAt = 0;

private:
    std::chrono::steady_clock::time_point m_end;
    const std::atomic<bool> *m_cancel;
};

// Empty lessons between the first and the last of each day.
int gapsOf(const std::vector<std::uint8_t> &taken, int days, int lessonsPerDay)
{
    int gaps = 0;
    for (int d = 0; d < days; ++d) {
        int first = -1, last = -1, count = 0;
        for (int l = 0; l < lessonsPerDay; ++l) {
            if (!taken[size_t(d * lessonsPerDay + l)])
                continue;
            first = first < 0 ? l : first;
            last = l;
            ++count;
        }
        if (count > 0)
            gaps += last - first + 1 - count;
    }
    return gaps;
}

// The groups a neighbourhood frees, around the current plan (`chosen` by candidate): mostly one
// whose day has a gap, or any, and those that share its tutors; as many as `count`.
std::vector<std::uint8_t> freedGroups(const SlotProblem &p, const std::vector<Candidate> &candidates,
                                      const std::vector<std::vector<int>> &related,
                                      const std::vector<std::uint8_t> &chosen, int count,
                                      Rnd &rnd)
{
    std::vector<std::vector<std::uint8_t>> taken = p.groupTaken;
    for (size_t c = 0; c < candidates.size(); ++c) {
        if (chosen[c])
            taken[size_t(p.lines[size_t(candidates[c].line)].group)][size_t(candidates[c].slot)] = 1;
    }
    std::vector<int> gapped;
    for (int g = 0; g < p.groups; ++g) {
        if (gapsOf(taken[size_t(g)], p.days, p.lessonsPerDay) > 0)
            gapped.push_back(g);
    }
    std::vector<std::uint8_t> open(size_t(p.groups), 0);
    int opened = 0;
    const auto add = [&](int g) {
        opened += !open[size_t(g)];
        open[size_t(g)] = 1;
    };
    const int seed = !gapped.empty() && rnd(4u) != 0 ? gapped[rnd(unsigned(gapped.size()))]
                                                      : int(rnd(unsigned(p.groups)));
    add(seed);
    std::vector<int> near = related[size_t(seed)];
    for (size_t i = near.size(); i > 1; --i)
        std::swap(near[i - 1], near[rnd(unsigned(i))]);
    for (const int g : near) {
        if (opened >= count)
            break;
        add(g);
    }
    while (opened < count && opened < p.groups)
        add(int(rnd(unsigned(p.groups))));
    // A lecture moves with all its groups.
    for (bool grown = true; grown;) {
        grown = false;
        std::vector<std::pair<int, int>> freedLessons; // job, slot
        for (size_t c = 0; c < candidates.size(); ++c) {
            const SlotProblem::Line &l = p.lines[size_t(candidates[c].line)];
            if (chosen[c] && open[size_t(l.group)])
                freedLessons.emplace_back(l.job, candidates[c].slot);
        }
        std::sort(freedLessons.begin(), freedLessons.end());
        for (size_t c = 0; c < candidates.size(); ++c) {
            const SlotProblem::Line &l = p.lines[size_t(candidates[c].line)];
            if (chosen[c] && !open[size_t(l.group)]
                && std::binary_search(freedLessons.begin(), freedLessons.end(),
                                      std::make_pair(l.job, candidates[c].slot))) {
                add(l.group);
                grown = true;
            }
        }
    }
    return open;
}

class SlotSpace : public IntMinimizeSpace
{
public:
    SlotSpace(const SlotProblem &p, const std::vector<Candidate> &candidates,
              const std::vector<std::vector<int>> &related, const SoftWeights &w, unsigned seed)
        : m_problem(&p)
        , m_candidates(&candidates)
        , m_related(&related)
        , m_rnd(seed)
    {
        const int n = int(candidates.size());
        const int slots = p.slotCount();
        x = BoolVarArray(*this, n, 0, 1);

        // Who takes which candidate, by group, tutor, slot, line and day.
        std::vector<std::vector<int>> byGroupSlot(size_t(p.groups) * size_t(slots));
        std::vector<std::vector<int>> byTutorSlot(size_t(p.tutors) * size_t(slots));
        std::vector<std::vector<int>> byLine(p.lines.size());
        std::vector<std::vector<int>> byLineDay(p.lines.size() * size_t(p.days));
        for (int c = 0; c < n; ++c) {
            const Candidate &k = candidates[size_t(c)];
            const SlotProblem::Line &l = p.lines[size_t(k.line)];
            byGroupSlot[size_t(l.group) * size_t(slots) + size_t(k.slot)].push_back(c);
            byTutorSlot[size_t(l.tutor) * size_t(slots) + size_t(k.slot)].push_back(c);
            byLine[size_t(k.line)].push_back(c);
            byLineDay[size_t(k.line) * size_t(p.days) + size_t(p.dayOf(k.slot))].push_back(c);
        }
        const auto vars = [&](const std::vector<int> &indexes) {
            BoolVarArgs args;
            for (const int c : indexes)
                args << x[c];
            return args;
        };

        // Each line at most its target; one lesson at a time for a group and for a tutor;
        // no more lessons at a time than auditoriums are free.
        int targets = 0;
        for (size_t i = 0; i < byLine.size(); ++i) {
            targets += p.lines[i].target;
            if (!byLine[i].empty())
                linear(*this, vars(byLine[i]), IRT_LQ, p.lines[i].target);
        }
        // What a group does at a slot: a lesson of the whole group, or the lessons of one set
        // of subgroup lines at once; one of them at a time.
        IntArgs weights;
        BoolVarArgs weighed;
        std::vector<BoolVarArgs> groupBusy(size_t(p.groups) * size_t(slots));
        for (size_t gs = 0; gs < byGroupSlot.size(); ++gs) {
            const std::vector<int> &v = byGroupSlot[gs];
            BoolVarArgs &busy = groupBusy[gs];
            std::vector<std::pair<int, std::vector<int>>> sets;
            for (const int c : v) {
                const int set = p.lines[size_t(candidates[size_t(c)].line)].subgroups;
                if (set < 0) {
                    busy << x[c];
                    continue;
                }
                auto it = std::find_if(sets.begin(), sets.end(),
                                       [set](const auto &e) { return e.first == set; });
                if (it == sets.end())
                    sets.push_back({set, {c}});
                else
                    it->second.push_back(c);
            }
            for (const auto &[set, members] : sets) {
                BoolVar together(*this, 0, 1);
                rel(*this, BOT_OR, vars(members), together);
                busy << together;
                weights << w.subgroupsApart;
                weighed << together;
            }
            if (busy.size() > 1)
                linear(*this, busy, IRT_LQ, 1);
        }
        // A tutor teaches one thing at a time: one lesson, or one lecture for up to
        // lectureGroups groups of the same line of his load (one job), in one auditorium.
        // The lessons taught at a slot are what takes auditoriums.
        std::vector<BoolVarArgs> taught(static_cast<size_t>(slots));
        std::vector<BoolVarArgs> tutorBusy(size_t(p.tutors) * size_t(slots));
        for (int t = 0; t < p.tutors; ++t) {
            for (int s = 0; s < slots; ++s) {
                const std::vector<int> &v = byTutorSlot[size_t(t) * size_t(slots) + size_t(s)];
                if (v.empty())
                    continue;
                BoolVarArgs &lessons = tutorBusy[size_t(t) * size_t(slots) + size_t(s)];
                if (p.lectureGroups <= 1) {
                    lessons = vars(v);
                } else {
                    JobsAtSlot jobs;
                    for (const int c : v)
                        jobs.add(p.lines[size_t(candidates[size_t(c)].line)].job, c);
                    for (const auto &[job, members] : jobs.entries) {
                        if (members.size() == 1) {
                            lessons << x[members.front()];
                            continue;
                        }
                        BoolVar one(*this, 0, 1);
                        rel(*this, BOT_OR, vars(members), one);
                        linear(*this, vars(members), IRT_LQ, p.lectureGroups);
                        lessons << one;
                    }
                }
                if (lessons.size() > 1)
                    linear(*this, lessons, IRT_LQ, 1);
                for (int i = 0; i < lessons.size(); ++i)
                    taught[size_t(s)] << lessons[i];
            }
        }
        for (int s = 0; s < slots; ++s) {
            if (taught[size_t(s)].size() > p.freeAuditoriums[size_t(s)])
                linear(*this, taught[size_t(s)], IRT_LQ, p.freeAuditoriums[size_t(s)]);
        }

        // A lesson placed lowers the cost by 1000; a later lesson, more so a difficult one,
        // less.
        for (int c = 0; c < n; ++c) {
            const Candidate &k = candidates[size_t(c)];
            const int late = p.lessonOf(k.slot) - 1;
            weights << -1000 + w.lateLesson * late
                           + w.hardLate * p.lines[size_t(k.line)].levelDiff * late;
            weighed << x[c];
        }

        // A day's lessons of a group and of a tutor: the blocks of lessons beyond the first
        // are its gaps. Each block begins with a lesson whose previous lesson is empty.
        // For a group the blocks are also limited: one a day, or as many as the lessons
        // already there make, so that the plan never opens a gap in a group's day.
        const auto dayBlocks = [&](const std::vector<std::uint8_t> &taken,
                                   const std::vector<BoolVarArgs> &busy, int owner, int weight,
                                   bool limited) {
            const auto at = [&](int s) -> const BoolVarArgs & {
                return busy[size_t(owner) * size_t(slots) + size_t(s)];
            };
            for (int d = 0; d < p.days; ++d) {
                bool open = false;
                for (int l = 0; l < p.lessonsPerDay; ++l)
                    open = open || at(d * p.lessonsPerDay + l).size() > 0;
                if (!open)
                    continue;
                BoolVar previous(*this, 0, 0);
                BoolVarArgs starts;
                int fixedBlocks = 0;
                for (int l = 0; l < p.lessonsPerDay; ++l) {
                    const int s = d * p.lessonsPerDay + l;
                    fixedBlocks += taken[size_t(s)] && (l == 0 || !taken[size_t(s - 1)]);
                }
                for (int l = 0; l < p.lessonsPerDay; ++l) {
                    const int s = d * p.lessonsPerDay + l;
                    BoolVar here;
                    if (taken[size_t(s)])
                        here = BoolVar(*this, 1, 1);
                    else if (at(s).size() == 0)
                        here = BoolVar(*this, 0, 0);
                    else if (at(s).size() == 1)
                        here = at(s)[0];
                    else {
                        here = BoolVar(*this, 0, 1);
                        rel(*this, BOT_OR, at(s), here);
                    }
                    BoolVar start(*this, 0, 1);
                    rel(*this, start == (here && !previous));
                    weights << weight;
                    weighed << start;
                    starts << start;
                    previous = here;
                }
                if (limited)
                    linear(*this, starts, IRT_LQ, std::max(1, fixedBlocks));
            }
        };
        for (int g = 0; g < p.groups; ++g)
            dayBlocks(p.groupTaken[size_t(g)], groupBusy, g, w.groupGap, true);
        for (int t = 0; t < p.tutors; ++t)
            dayBlocks(p.tutorTaken[size_t(t)], tutorBusy, t, w.tutorGap, false);

        // The day limits of groups and tutors count the lesson numbers taken: subgroups at
        // once and a lecture's groups are one lesson. The lessons already there count.
        const auto dayLimit = [&](const std::vector<std::uint8_t> &taken,
                                  const std::vector<BoolVarArgs> &busy, int owner, int limit) {
            if (limit <= 0)
                return;
            for (int d = 0; d < p.days; ++d) {
                BoolVarArgs v;
                int there = 0;
                for (int l = 0; l < p.lessonsPerDay; ++l) {
                    const int s = d * p.lessonsPerDay + l;
                    there += taken[size_t(s)];
                    v << busy[size_t(owner) * size_t(slots) + size_t(s)];
                }
                if (v.size() + there > limit)
                    linear(*this, v, IRT_LQ, std::max(limit - there, 0));
            }
        };
        for (int g = 0; g < p.groups; ++g)
            dayLimit(p.groupTaken[size_t(g)], groupBusy, g, p.groupDayLimit);
        for (int t = 0; t < p.tutors; ++t)
            dayLimit(p.tutorTaken[size_t(t)], tutorBusy, t, p.tutorDayLimit);

        // A discipline a second time in a day costs; the extra lessons are counted.
        IntArgs extraWeights;
        IntVarArgs extras;
        for (const std::vector<int> &v : byLineDay) {
            if (v.size() < 2)
                continue;
            IntVar extra(*this, 0, int(v.size()) - 1);
            linear(*this, vars(v), IRT_LQ, expr(*this, extra + 1));
            extraWeights << w.twiceADay;
            extras << extra;
        }

        const long long high = 1000LL * targets + 1000000000LL;
        m_cost = IntVar(*this, 0, int(std::min<long long>(high, Int::Limits::max)));
        IntVar bools = expr(*this, sum(weights, weighed));
        IntVar others = extras.size() > 0 ? expr(*this, sum(extraWeights, extras))
                                          : IntVar(*this, 0, 0);
        rel(*this, m_cost == 1000 * targets + bools + others);

        branch(*this, x, BOOL_VAR_NONE(), BOOL_VAL(&SlotSpace::valueOf));
        // The counts of a second lesson in a day follow from the choices, at their least.
        if (extras.size() > 0)
            branch(*this, extras, INT_VAR_NONE(), INT_VAL_MIN());
        branch(*this, m_cost, INT_VAL_MIN());
    }

    SlotSpace(SlotSpace &s)
        : IntMinimizeSpace(s)
        , m_problem(s.m_problem)
        , m_candidates(s.m_candidates)
        , m_related(s.m_related)
        , m_rnd(s.m_rnd)
        , m_neighbourhood(s.m_neighbourhood)
    {
        x.update(*this, s.x);
        m_cost.update(*this, s.m_cost);
    }

    Space *copy() override { return new SlotSpace(*this); }

    // A lesson is taken where it can be; in a neighbourhood's search now and then not, so
    // that the freed groups' days are laid out anew rather than as before.
    static int valueOf(const Space &home, BoolVar, int)
    {
        const SlotSpace &space = static_cast<const SlotSpace &>(home);
        return space.m_neighbourhood ? int(space.m_rnd(100u) >= 15u) : 1;
    }
    IntVar cost() const override { return m_cost; }

    // Large-neighbourhood search: after the first plan, each restart frees the lessons of a
    // few groups and keeps every other choice of the best plan so far. Mostly the freed groups
    // are one whose day has a gap and those that share its tutors; sometimes any.
    bool slave(const MetaInfo &mi) override
    {
        if (mi.type() != MetaInfo::RESTART || mi.restart() == 0 || mi.last() == nullptr)
            return true;
        const SlotSpace &last = static_cast<const SlotSpace &>(*mi.last());
        const SlotProblem &p = *m_problem;
        std::vector<std::uint8_t> chosen(size_t(x.size()));
        for (int c = 0; c < x.size(); ++c)
            chosen[size_t(c)] = std::uint8_t(last.x[c].val());
        const std::vector<std::uint8_t> open = freedGroups(
            p, *m_candidates, *m_related, chosen, std::max(2, p.groups / 8), m_rnd);
        for (int c = 0; c < x.size(); ++c) {
            const int group = p.lines[size_t((*m_candidates)[size_t(c)].line)].group;
            if (!open[size_t(group)])
                rel(*this, x[c], IRT_EQ, last.x[c].val());
        }
        m_neighbourhood = true;
        return false;
    }

    BoolVarArray x;

private:
    const SlotProblem *m_problem;
    const std::vector<Candidate> *m_candidates;
    const std::vector<std::vector<int>> *m_related;
    mutable Rnd m_rnd;
    bool m_neighbourhood = false; // searching a neighbourhood of the best plan
    IntVar m_cost;
};


} // namespace

SlotPlan solveSlots(const SlotProblem &problem, const SolveOptions &options)
{
    SlotPlan plan;
    plan.chosen.resize(problem.lines.size());
    const std::vector<Candidate> candidates = candidatesOf(problem);
    if (candidates.empty()) {
        plan.complete = plan.found = true;
        return plan;
    }
    const std::vector<std::vector<int>> related = relatedGroups(problem);
    auto root = std::make_unique<SlotSpace>(problem, candidates, related, options.weights,
                                            options.seed);
    LimitStop stop(options.timeLimitSeconds, options.cancel);
    Search::Options o;
    o.threads = 1; // the same plan for the same seed
    o.stop = &stop;
    o.cutoff = Search::Cutoff::luby(64);
    // The search goes as deep as there are choices (tens of thousands in a large week): a
    // copy kept every few levels would take gigabytes, so copies are kept only every
    // fiftieth of the depth and the way between is recomputed.
    o.c_d = std::max(8u, unsigned(candidates.size() / 50));
    o.a_d = o.c_d;
    std::unique_ptr<SlotSpace> best;
    {
        RBS<SlotSpace, BAB> engine(root.get(), o);
        while (SlotSpace *s = engine.next()) {
            best.reset(s);
            stop.improvedAt = stop.restarts;
            if (options.progress) {
                int placed = 0;
                for (int c = 0; c < s->x.size(); ++c)
                    placed += s->x[c].val();
                options.progress(placed, s->cost().val());
            }
        }
        plan.complete = !engine.stopped() || stop.stale;
    }
    plan.cancelled = stop.cancelled;
    if (!best)
        return plan;
    plan.found = true;

    std::vector<std::vector<std::uint8_t>> groupDays = problem.groupTaken;
    std::vector<std::vector<std::uint8_t>> tutorDays = problem.tutorTaken;
    for (int c = 0; c < best->x.size(); ++c) {
        if (!best->x[c].val())
            continue;
        const Candidate &k = candidates[size_t(c)];
        const SlotProblem::Line &l = problem.lines[size_t(k.line)];
        plan.chosen[size_t(k.line)].push_back(k.slot);
        groupDays[size_t(l.group)][size_t(k.slot)] = 1;
        tutorDays[size_t(l.tutor)][size_t(k.slot)] = 1;
        ++plan.placed;
    }
    for (std::vector<int> &slots : plan.chosen)
        std::sort(slots.begin(), slots.end());
    for (const auto &taken : groupDays)
        plan.groupGaps += gapsOf(taken, problem.days, problem.lessonsPerDay);
    for (const auto &taken : tutorDays)
        plan.tutorGaps += gapsOf(taken, problem.days, problem.lessonsPerDay);
    plan.cost = best->cost().val();
    return plan;
}

} // namespace korvesta
