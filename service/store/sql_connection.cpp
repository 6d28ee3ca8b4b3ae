#include "service/store/sql_connection.h"

namespace velmora::service {

Statement::Statement(StatementCache& cache, const std::string& sql) {
  StatementCache::Kept& kept = cache.kept_[sql];
  if (kept.cursor == nullptr) kept.cursor = cache.connection_.prepare(sql);
  if (kept.inUse) {
    own_ = cache.connection_.prepare(sql);
    cursor_ = own_.get();
    return;
  }
  kept.inUse = true;
  kept_ = &kept;
  cursor_ = kept.cursor.get();
}

// A kept cursor is left reset and without bindings, as a new one is.
Statement::~Statement() {
  if (kept_ == nullptr) return;
  cursor_->reset();
  kept_->inUse = false;
}

Statement& Statement::bind(std::string_view text) {
  cursor_->bind(++boundCount_, text);
  return *this;
}

Statement& Statement::bind(std::int64_t number) {
  cursor_->bind(++boundCount_, number);
  return *this;
}

std::int64_t Statement::run() {
  while (cursor_->step()) {
  }
  return cursor_->changes();
}

}  // namespace velmora::service
