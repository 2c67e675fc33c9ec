// The randomization steps of a run, computed ahead on worker threads and handed back in step
// order.
//
// The grouping of step s depends only on the grouping of step s - 1 and the generator, and
// it is cheap; the five tables of a step are the expensive part and depend only on that
// step's grouping. So the thread that runs the analysis rearranges SiteGroups step after step
// and hands each grouping, copied, to the workers, a bounded window of steps ahead; every
// worker computes whole steps in its own work storage, consecutive steps in the same passes
// (up to the groupings one pass serves) when they are waiting, reading the abundance table
// that all share and never change; the summaries come back to the analysis thread, which
// writes every record in step order. With one thread the analysis thread computes the steps
// itself, as many at a time as well. Workers never touch a unit, the console or the
// generator, so the output is the same for every number of threads.
//
// Ending the process while workers run. The run can end at any record the analysis thread
// writes (a failed write ends it through the run-time error report and std::exit), inside
// Poll while it waits (the windowed program closes the units and leaves through _Exit when
// the user closes the frame), or, in tests, by an exception that carries the exit code up
// the stack. None of these may crash or hang with workers alive:
//  - No exit-time destructor joins a worker or frees what workers read: the workers, their
//    storage and the steps' groupings belong to this object, which lives in the frame of the
//    randomization loop, and no process exit unwinds that frame; the shared arrays are never
//    freed (AnalysisData lives until the process ends). The process exit ends the workers
//    wherever they are.
//  - An exception that unwinds the loop destroys this object: it asks every worker to stop,
//    and a worker stops at its next block of species, then it is joined.
//  - Workers hold no lock while computing and the analysis thread holds none while it
//    writes or polls, so neither can leave the other waiting on a lock forever.
#pragma once

#include <cfenv>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "inputs/analysis_data.h"
#include "randomization/association_steps.h"
#include "randomization/step_computation.h"

namespace kova {

// A step of a table with fewer entries (species x sites) is over in a few tens of
// microseconds: handing it to another thread and back costs about as much as computing it.
constexpr std::int64_t kFewestEntriesForThreads = 50000;

// The number of threads that compute the steps of a table of `species` x `sites`: `asked`
// when it is 1 or more (at most 256); otherwise every online processor, or 1 for a table too
// small to gain from threads. 1 computes every step on the analysis thread.
int StepThreadCount(int asked, std::int32_t species, std::int32_t sites);

// How long the analysis thread waits for a step before it lets the console handle events.
constexpr std::chrono::milliseconds kStepPollInterval{20};

// What the steps hand back: their summaries only, or also every species' maximum of every
// IndexType, which the per-species results count from.
enum class StepDetail { Summaries, SpeciesMaxima };

class StepWorkers {
 public:
  // Prepares the steps 1 to `stepCount` of the run in `data` for `threadCount` threads and
  // obtains, here on the analysis thread, every piece of storage the steps will use. With one
  // step, the whole tables of that step are kept for the report. A failure to obtain the
  // storage of one thread ends the run with the allocation report; storage for further
  // threads that cannot be obtained only means fewer workers, so that the output never
  // depends on the number of threads asked for. `pollInterval` is how long a wait for a step
  // lasts before Poll. With `findAssociations`, every step also finds each species' strongest
  // associations, those the constants were set up with.
  StepWorkers(AnalysisData& data, const StepConstants& constants, std::int64_t stepCount,
              int threadCount, StepDetail detail = StepDetail::Summaries,
              std::chrono::milliseconds pollInterval = kStepPollInterval,
              bool findAssociations = false);
  ~StepWorkers();
  StepWorkers(const StepWorkers&) = delete;
  StepWorkers& operator=(const StepWorkers&) = delete;

  // The summaries of `step`, asked for in order 1, 2, ... up to the step count. Rearranges
  // SiteGroups for this step and the window ahead of it (step 1 keeps the observed grouping)
  // and recounts GroupSizes; while the workers have not finished the step, keeps the console
  // live through Poll. The summaries stay valid until the next call.
  const StepSummaries& Summaries(std::int64_t step);

  // The whole table of `indexType` (1 to 5) of a one-step run, after Summaries(1).
  const float* FullTable(std::int32_t indexType) const;

  // With StepDetail::SpeciesMaxima, the species maxima of `step` (IndexType 1 to 5, each
  // SpeciesCount values in species order), valid as its summaries are.
  const float* SpeciesMaxima(std::int64_t step);

  // With associations, the strongest ones of `step` as AssociationSteps::StepBlockMaxima lays
  // them out, valid as its summaries are; null without.
  const double* AssociationMaxima(std::int64_t step);

  // The threads that compute steps (0: the analysis thread computes them itself).
  int WorkerCount() const { return static_cast<int>(workers_.size()); }
  // The work storage of every thread that computes steps, in bytes.
  std::size_t WorkStorageBytes() const;

 private:
  // One step in the window: its grouping, copied when it is handed out, its summaries and,
  // when they are kept, its species maxima.
  struct Slot {
    std::int64_t step = 0;
    bool done = false;
    std::unique_ptr<std::int32_t[]> siteGroups;
    std::unique_ptr<std::int32_t[]> groupSizes;
    std::unique_ptr<float[]> speciesMaxima;
    std::unique_ptr<double[]> associationMaxima;
    StepSummaries summaries;
  };

  bool TryObtainSlotStorage(Slot& slot) const;
  std::size_t StepsAheadPerWorker() const;
  void ObtainWorkerStorage(int threadCount);
  Slot& SlotOf(std::int64_t step);
  void ArrangeStepInSlot(std::int64_t step);
  bool ComputeInSlots(std::int64_t first, std::int64_t count, const StepWork& work,
                      float* const (*fullTables)[5], std::stop_token stop);
  const StepSummaries& ComputeHere(std::int64_t step);
  void HandOutStepsUpTo(std::int64_t lastStep);
  const StepSummaries& WaitForStep(std::int64_t step);
  void RunWorker(std::stop_token stop, std::size_t worker);

  AnalysisData& data_;
  const StepConstants& constants_;
  const std::int64_t stepCount_;
  const StepDetail detail_;
  const std::chrono::milliseconds pollInterval_;
  const AssociationSteps* associations_;

  // The analysis thread's own storage, when it computes the steps itself.
  std::unique_ptr<StepWork> ownWork_;
  std::vector<std::unique_ptr<float[]>> fullTables_;

  std::vector<std::unique_ptr<StepWork>> workerWork_;
  std::vector<Slot> slots_;
  std::int64_t handedOut_ = 0;  // the last step whose grouping the workers can have
  std::fenv_t floatingPointEnvironment_{};

  std::mutex mutex_;
  std::int64_t taken_ = 0;  // the last step a worker has taken; guarded by mutex_
  std::condition_variable_any stepsWaiting_;
  std::condition_variable stepFinished_;

  // Last, so that the threads end before anything they use is destroyed.
  std::vector<std::jthread> workers_;
};

}  // namespace kova
