#include "finders/TempFinder.h"

namespace vastel {

TempCollection::TempCollection(const TempOptions& options)
    : types_(options.types),
      typeTexts_(std::make_shared<FoundTypes>()),
      columns_(FoundColumns::quickClean(typeTexts_)) {}

WalkOptions TempCollection::walkOptions() const {
    WalkOptions options;
    options.pattern = types_.namePattern();
    // Hidden files count; system files are refused in accepts().
    options.files = FileSelection::All;
    return options;
}

bool TempCollection::accepts(const WalkFile& file) {
    if (file.entry.attributes & faSysFile) return false;
    return types_.isThisFileTemporary(file.entry.name);
}

ResultRecord TempCollection::recordOf(const WalkFile& file) {
    const DirEntry& e = file.entry;
    ResultRecord r;
    r.setPath(file.path(), file.folder.size());
    r.size = e.size;
    r.modified = e.lastWrite;
    r.accessed = e.lastAccess;
    r.created = e.creation;
    r.type = typeTexts_->typeOf(e.name);
    return r;
}

void TempCollection::collect(const WalkFile& file) {
    pending_.push_back(recordOf(file));
    ++count_;
}

std::vector<ResultRecord> TempCollection::takeNew() {
    std::vector<ResultRecord> out;
    out.swap(pending_);
    return out;
}

TempRun runTempFinder(const std::vector<ScanTarget>& targets, const TempOptions& options,
                      WalkProgress& progress, StopToken& stop) {
    TempCollection collection(options);
    WalkOptions walkOptions = collection.walkOptions();
    walkOptions.capacity = WalkOptions::kUnlimited;
    walkOptions.sliceMs = 0;
    TreeWalk walk(walkOptions, collection, progress, stop);
    TempRun run;
    if (!collection.types().empty()) walk.scanTargets(targets);
    run.columns = collection.foundColumns();
    run.records = collection.takeNew();
    run.summary = walk.summary();
    return run;
}

}  // namespace vastel
