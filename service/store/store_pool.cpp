#include "service/store/store_pool.h"

namespace velmora::service {

StorePool::StorePool(std::string location) : location_(std::move(location)) {
  free_.push_back(std::make_unique<Database>(location_));
}

StorePool::Lent StorePool::take() {
  std::unique_ptr<Database> database;
  {
    const std::lock_guard lock(mutex_);
    if (!free_.empty()) {
      database = std::move(free_.back());
      free_.pop_back();
    }
  }
  if (!database) return Lent(*this, std::make_unique<Database>(location_));
  try {
    database->recover();
  } catch (const DatabaseError&) {
    giveBack(std::move(database));
    throw;
  }
  return Lent(*this, std::move(database));
}

void StorePool::giveBack(std::unique_ptr<Database> database) {
  const std::lock_guard lock(mutex_);
  free_.push_back(std::move(database));
}

}  // namespace velmora::service
