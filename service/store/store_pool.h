// The connections of one process to its store: one for each request being answered at once, so
// that no request waits for another's, however long either takes. A connection is opened when
// none is free and kept for the next request.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "service/database.h"

namespace velmora::service {

class StorePool {
 public:
  // Opens the first connection at once: a store that cannot be opened, or is of a later version,
  // fails here, and a new one is made and seeded.
  explicit StorePool(std::string location);

  // A connection lent until the object ends.
  class Lent {
   public:
    Lent(StorePool& pool, std::unique_ptr<Database> database)
        : pool_(pool), database_(std::move(database)) {}
    ~Lent() { pool_.giveBack(std::move(database_)); }
    Lent(const Lent&) = delete;
    Lent& operator=(const Lent&) = delete;

    Database& operator*() const { return *database_; }
    Database* operator->() const { return database_.get(); }

   private:
    StorePool& pool_;
    std::unique_ptr<Database> database_;
  };

  // A free connection, connected again first if the server or the network broke it.
  Lent take();

 private:
  void giveBack(std::unique_ptr<Database> database);

  const std::string location_;
  std::mutex mutex_;  // guards free_
  std::vector<std::unique_ptr<Database>> free_;
};

}  // namespace velmora::service
