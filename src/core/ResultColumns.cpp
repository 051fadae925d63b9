#include "core/ResultColumns.h"

#include "core/NumberKeyReader.h"
#include "core/ShortDateReader.h"
#include "core/SortGrid.h"

#include <memory>

namespace vastel {

ResultColumns::~ResultColumns() = default;

ResultColumns::NumberKeyOf ResultColumns::numberKeyOf(int column) const {
    auto reader = std::make_shared<const NumberKeyReader>();
    return [this, column, reader](const ResultRecord& r) { return reader->key(text(r, column)); };
}

ResultColumns::DateKeyOf ResultColumns::dateKeyOf(int column) const {
    auto reader = std::make_shared<const ShortDateReader>();
    return [this, column, reader](const ResultRecord& r) { return reader->key(text(r, column)); };
}

ResultColumns::TextKeyOf ResultColumns::textKeyOf(int column) const {
    return [this, column](const ResultRecord& r) { return textKey(text(r, column)); };
}

}  // namespace vastel
