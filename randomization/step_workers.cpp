#include "randomization/step_workers.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <new>
#include <system_error>

#include "inputs/zeroed_array.h"
#include "randomization/site_shuffle.h"
#include "textio/console.h"

namespace kova {
namespace {

// More would only divide the memory bandwidth that a step is bound by.
constexpr int kMostThreads = 256;
// Steps handed out ahead per worker, in passes: enough that a worker never waits while the
// analysis thread writes a step's records.
constexpr std::size_t kPassesAheadPerWorker = 2;

int OnlineProcessors() {
  const long processors = ::sysconf(_SC_NPROCESSORS_ONLN);
  return processors < 1 ? 1 : static_cast<int>(std::min<long>(processors, kMostThreads));
}

// Step 1 analyses the observed grouping; every later step first rearranges the grouping the
// step before it left.
void ArrangeGroupingOfStep(AnalysisData& data, std::int64_t step) {
  if (step >= 2 && data.siteBlocks.empty())
    ShuffleSiteGroups(data.siteGroups.Data(), data.siteCount, data.randomSeed);
  if (step >= 2 && !data.siteBlocks.empty())
    ShuffleSiteGroupsWithinBlocks(data.siteGroups.Data(), data.siteBlocks, data.randomSeed);
  RecountGroupSizes(data.siteGroups.Data(), data.siteCount, data.groupSizes.Data(),
                    data.groupCount);
}

}  // namespace

int StepThreadCount(int asked, std::int32_t species, std::int32_t sites) {
  if (asked >= 1) return std::min(asked, kMostThreads);
  if (ArrayEntries(species, sites) < kFewestEntriesForThreads) return 1;
  return OnlineProcessors();
}

StepWorkers::StepWorkers(AnalysisData& data, const StepConstants& constants, std::int64_t stepCount,
                         int threadCount, StepDetail detail,
                         std::chrono::milliseconds pollInterval,
                         bool findAssociations)
    : data_(data),
      constants_(constants),
      stepCount_(stepCount),
      detail_(detail),
      pollInterval_(pollInterval),
      associations_(findAssociations ? constants.Associations() : nullptr) {
  if (stepCount_ == 1) {
    for (int type = 0; type < kIndexTypeCount; ++type) {
      fullTables_.push_back(
          ObtainWorkStorage<float>(constants.SpeciesCount(), constants.GroupCount()));
    }
  }
  const auto threadsUsed = static_cast<int>(std::min<std::int64_t>(threadCount, stepCount_));
  if (threadsUsed >= 2 && fullTables_.empty()) ObtainWorkerStorage(threadsUsed);
  if (workerWork_.size() >= 2) {
    std::fegetenv(&floatingPointEnvironment_);
    for (std::size_t worker = 0; worker < workerWork_.size(); ++worker) {
      try {
        workers_.emplace_back([this, worker](std::stop_token stop) { RunWorker(stop, worker); });
      } catch (const std::system_error&) {
        break;  // the system has no more threads to give: those started do the work
      }
    }
    if (!workers_.empty()) return;
  }
  // One thread: the analysis thread computes every step itself, in slots of its own.
  if (!workerWork_.empty()) {
    ownWork_ = std::move(workerWork_.front());
  } else {
    ownWork_ = StepWork::TryObtain(constants);
    if (ownWork_ == nullptr) ReportAllocationFailure();
  }
  workerWork_.clear();
  slots_.clear();
  slots_.resize(constants.GroupingsPerPass());
  for (Slot& slot : slots_) {
    if (!TryObtainSlotStorage(slot)) ReportAllocationFailure();
  }
}

StepWorkers::~StepWorkers() {
  for (std::jthread& worker : workers_)
    worker.request_stop();
  workers_.clear();  // joins each
}

// A step's grouping and, when they are kept, its species maxima; false when the storage
// cannot be obtained, with nothing reported.
bool StepWorkers::TryObtainSlotStorage(Slot& slot) const {
  slot.siteGroups =
      TryObtainWorkStorage<std::int32_t>(std::max<std::size_t>(constants_.SiteCount(), 1), 1);
  slot.groupSizes =
      TryObtainWorkStorage<std::int32_t>(std::max<std::size_t>(constants_.GroupCount(), 1), 1);
  if (detail_ == StepDetail::SpeciesMaxima) {
    slot.speciesMaxima = TryObtainWorkStorage<float>(
        std::max<std::size_t>(constants_.SpeciesCount(), 1), kIndexTypeCount);
    if (slot.speciesMaxima == nullptr) return false;
  }
  if (associations_ != nullptr) {
    slot.associationMaxima =
        TryObtainWorkStorage<double>(std::max<std::size_t>(associations_->ValuesPerStep(), 1), 1);
    if (slot.associationMaxima == nullptr) return false;
  }
  return slot.siteGroups != nullptr && slot.groupSizes != nullptr;
}

std::size_t StepWorkers::StepsAheadPerWorker() const {
  return kPassesAheadPerWorker * constants_.GroupingsPerPass();
}

// Storage that cannot be obtained ends the list of workers; nothing is reported.
void StepWorkers::ObtainWorkerStorage(int threadCount) {
  try {
    workerWork_.reserve(static_cast<std::size_t>(threadCount));
    slots_.reserve(static_cast<std::size_t>(threadCount) * StepsAheadPerWorker());
  } catch (const std::bad_alloc&) {
    return;
  }
  for (int worker = 0; worker < threadCount; ++worker) {
    std::unique_ptr<StepWork> work = StepWork::TryObtain(constants_);
    if (work == nullptr) return;
    Slot slots[kPassesAheadPerWorker * kMostGroupingsPerPass];
    const std::size_t slotCount = StepsAheadPerWorker();
    for (std::size_t k = 0; k < slotCount; ++k) {
      if (!TryObtainSlotStorage(slots[k])) return;
    }
    workerWork_.push_back(std::move(work));
    for (std::size_t k = 0; k < slotCount; ++k)
      slots_.push_back(std::move(slots[k]));
  }
}

const StepSummaries& StepWorkers::Summaries(std::int64_t step) {
  if (workers_.empty()) return ComputeHere(step);
  // The slots of the steps before this one are free: their summaries have been used.
  HandOutStepsUpTo(std::min<std::int64_t>(stepCount_, step - 1 + std::ssize(slots_)));
  return WaitForStep(step);
}

StepWorkers::Slot& StepWorkers::SlotOf(std::int64_t step) {
  return slots_[static_cast<std::size_t>(step) % slots_.size()];
}

// Rearranges the grouping for `step` and copies it into the step's slot.
void StepWorkers::ArrangeStepInSlot(std::int64_t step) {
  ArrangeGroupingOfStep(data_, step);
  Slot& slot = SlotOf(step);
  std::copy_n(data_.siteGroups.Data(), constants_.SiteCount(), slot.siteGroups.get());
  std::copy_n(data_.groupSizes.Data(), constants_.GroupCount(), slot.groupSizes.get());
}

// Computes `count` consecutive steps from `first` in the same passes, in their slots.
bool StepWorkers::ComputeInSlots(std::int64_t first, std::int64_t count, const StepWork& work,
                                 float* const (*fullTables)[5], std::stop_token stop) {
  Grouping groupings[kMostGroupingsPerPass];
  StepSummaries summaries[kMostGroupingsPerPass];
  float* speciesMaxima[kMostGroupingsPerPass] = {};
  double* associationMaxima[kMostGroupingsPerPass] = {};
  for (std::int64_t k = 0; k < count; ++k) {
    const Slot& slot = SlotOf(first + k);
    groupings[k] = {slot.siteGroups.get(), slot.groupSizes.get()};
    speciesMaxima[k] = slot.speciesMaxima.get();
    associationMaxima[k] = slot.associationMaxima.get();
  }
  const auto groupingCount = static_cast<std::size_t>(count);
  if (!ComputeSteps(constants_, groupings, groupingCount, work, summaries, fullTables,
                    detail_ == StepDetail::SpeciesMaxima ? speciesMaxima : nullptr,
                    associations_ != nullptr ? associationMaxima : nullptr, stop)) {
    return false;
  }
  for (std::int64_t k = 0; k < count; ++k)
    SlotOf(first + k).summaries = summaries[k];
  return true;
}

// On the analysis thread, each step is computed together with the next, the next's grouping
// arranged ahead; the second step's summaries then wait in their slot.
const StepSummaries& StepWorkers::ComputeHere(std::int64_t step) {
  Slot& slot = SlotOf(step);
  if (slot.step == step) return slot.summaries;
  const std::int64_t count =
      fullTables_.empty()
          ? std::min<std::int64_t>(static_cast<std::int64_t>(constants_.GroupingsPerPass()),
                                   stepCount_ - step + 1)
          : 1;
  for (std::int64_t k = 0; k < count; ++k) {
    ArrangeStepInSlot(step + k);
    SlotOf(step + k).step = step + k;
  }
  float* tables[kIndexTypeCount] = {};
  for (std::size_t type = 0; type < fullTables_.size(); ++type)
    tables[type] = fullTables_[type].get();
  ComputeInSlots(step, count, *ownWork_, fullTables_.empty() ? nullptr : &tables, {});
  return slot.summaries;
}

// Rearranges the grouping step after step, here on the analysis thread, and copies each into
// its slot; the copy is made before the step is published under the lock, and no worker
// touches a slot before its step is published.
void StepWorkers::HandOutStepsUpTo(std::int64_t lastStep) {
  while (handedOut_ < lastStep) {
    const std::int64_t step = handedOut_ + 1;
    ArrangeStepInSlot(step);
    {
      const std::scoped_lock lock(mutex_);
      Slot& slot = SlotOf(step);
      slot.step = step;
      slot.done = false;
      handedOut_ = step;
    }
    stepsWaiting_.notify_one();
  }
}

const StepSummaries& StepWorkers::WaitForStep(std::int64_t step) {
  Slot& slot = SlotOf(step);
  const auto finished = [&slot, step] { return slot.step == step && slot.done; };
  std::unique_lock lock(mutex_);
  while (!stepFinished_.wait_for(lock, pollInterval_, finished)) {
    // Poll may handle window events, or end the process; never with the lock held.
    lock.unlock();
    Console().Poll();
    lock.lock();
  }
  return slot.summaries;
}

void StepWorkers::RunWorker(std::stop_token stop, std::size_t worker) {
  // The analysis thread's rounding and exception masks, whatever a new thread starts with.
  std::fesetenv(&floatingPointEnvironment_);
  const StepWork& work = *workerWork_[worker];
  std::unique_lock lock(mutex_);
  for (;;) {
    if (!stepsWaiting_.wait(lock, stop, [this] { return taken_ < handedOut_; })) return;
    // Consecutive steps that are waiting go together, up to the groupings of one pass.
    const std::int64_t first = taken_ + 1;
    const std::int64_t count = std::min<std::int64_t>(
        static_cast<std::int64_t>(constants_.GroupingsPerPass()), handedOut_ - taken_);
    taken_ += count;
    lock.unlock();
    const bool complete = ComputeInSlots(first, count, work, nullptr, stop);
    lock.lock();
    if (!complete) return;
    for (std::int64_t k = 0; k < count; ++k)
      SlotOf(first + k).done = true;
    stepFinished_.notify_one();
  }
}

const float* StepWorkers::FullTable(std::int32_t indexType) const {
  return fullTables_[static_cast<std::size_t>(indexType - 1)].get();
}

const float* StepWorkers::SpeciesMaxima(std::int64_t step) {
  return SlotOf(step).speciesMaxima.get();
}

const double* StepWorkers::AssociationMaxima(std::int64_t step) {
  return SlotOf(step).associationMaxima.get();
}

std::size_t StepWorkers::WorkStorageBytes() const {
  std::size_t bytes = ownWork_ != nullptr ? ownWork_->Bytes() : 0;
  for (const auto& work : workerWork_)
    bytes += work->Bytes();
  std::size_t slotBytes = sizeof(std::int32_t) * (std::max<std::size_t>(constants_.SiteCount(), 1) +
                                                  std::max<std::size_t>(constants_.GroupCount(), 1));
  if (detail_ == StepDetail::SpeciesMaxima) {
    slotBytes += sizeof(float) * kIndexTypeCount * std::max<std::size_t>(constants_.SpeciesCount(), 1);
  }
  return bytes + slots_.size() * slotBytes;
}

}  // namespace kova
