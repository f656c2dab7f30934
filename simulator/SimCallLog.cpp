#include "SimCallLog.h"

void SimCallLog::add(SimOperation operation, std::initializer_list<uint64_t> arguments, const char* text) {
    ++counts_[static_cast<size_t>(operation)];
    if (limit_ == 0) {
        ++dropped_;
        return;
    }
    SimCall* record = nullptr;
    if (recent_.size() < limit_) {
        record = &recent_.emplace_back();
    } else {
        record = &recent_[oldest_];  // overwritten in place: its strings keep their storage
        oldest_ = (oldest_ + 1) % limit_;
        ++dropped_;
    }
    record->operation = operation;
    record->arguments.assign(arguments);
    record->hasText = text != nullptr;
    record->text.assign(text != nullptr ? text : "");
    record->thread = std::this_thread::get_id();
}

std::vector<SimCall> SimCallLog::recent() const {
    std::vector<SimCall> ordered(recent_.begin() + long(oldest_), recent_.end());
    ordered.insert(ordered.end(), recent_.begin(), recent_.begin() + long(oldest_));
    return ordered;
}

uint64_t SimCallLog::count(std::optional<SimOperation> operation) const {
    return operation ? counts_[static_cast<size_t>(*operation)] : logged();
}

void SimCallLog::setLimit(size_t limit) {
    std::vector<SimCall> kept = recent();
    const size_t excess = kept.size() > limit ? kept.size() - limit : 0;
    dropped_ += excess;
    kept.erase(kept.begin(), kept.begin() + long(excess));
    recent_ = std::move(kept);
    recent_.shrink_to_fit();
    oldest_ = 0;
    limit_ = limit;
}

void SimCallLog::clear() {
    recent_.clear();
    oldest_ = 0;
    dropped_ = 0;
    counts_.fill(0);
}
