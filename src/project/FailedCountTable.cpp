#include "project/FailedCountTable.h"

namespace tw {

FailedCountTable& failedCountTable() {
    static FailedCountTable table;
    return table;
}

}  // namespace tw
