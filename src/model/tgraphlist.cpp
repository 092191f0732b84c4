#include "tgraphlist.h"

#include <algorithm>

namespace loomscope {

int TGraphlist::Add(TGraphObject* item)
{
    const auto found = std::find(items_.begin(), items_.end(), item);
    if (found != items_.end())
        return static_cast<int>(found - items_.begin());
    items_.push_back(item);
    return static_cast<int>(items_.size()) - 1;
}

void TGraphlist::Delete(int index)
{
    if (index >= 0 && index < Count())
        items_.erase(items_.begin() + index);
}

} // namespace loomscope
