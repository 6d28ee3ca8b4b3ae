// The store in a SQLite file: the embedded default, for one machine.
#pragma once

#include <memory>
#include <string>

#include "service/store/sql_connection.h"

namespace velmora::service {

// Opens the file at `path`, made when missing, in write-ahead-log mode: readers see the last
// commit while a writer works, in this process or another.
std::unique_ptr<SqlConnection> openSqlite(const std::string& path);

}  // namespace velmora::service
