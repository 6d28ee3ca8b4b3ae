#include "service/store/postgres_connection.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>
#include <vector>

namespace velmora::service {

namespace {

// The SQLSTATEs of a serializable transaction that lost to another, and of a deadlock: running
// it again may succeed.
bool isConflict(std::string_view state) {
  return state == "40001" || state == "40P01";
}

// `text` with each %XX written as its byte.
std::string percentDecoded(std::string_view text) {
  std::string decoded;
  for (size_t at = 0; at < text.size(); ++at) {
    unsigned value = 0;
    if (text[at] == '%' && at + 2 < text.size() &&
        std::from_chars(text.data() + at + 1, text.data() + at + 3, value, 16).ptr ==
            text.data() + at + 3) {
      decoded += static_cast<char>(value);
      at += 2;
    } else {
      decoded += text[at];
    }
  }
  return decoded;
}

// The passwords as the URI writes them: after the user name and before the last `@` ahead of the
// query (a password holding an unencoded `@`, `/` or `?` of its own included), and the value of
// each `password` parameter.
std::vector<std::string> writtenPasswords(std::string_view uri) {
  std::vector<std::string> passwords;
  const size_t authority = uri.find("://");
  if (authority == std::string_view::npos) return passwords;
  const std::string_view rest = uri.substr(authority + 3);
  const size_t query = rest.find('?', rest.find('@'));
  const size_t userEnd = rest.substr(0, query).rfind('@');
  const size_t colon = rest.find(':');
  if (userEnd != std::string_view::npos && colon < userEnd) {
    passwords.emplace_back(rest.substr(colon + 1, userEnd - colon - 1));
  }
  constexpr std::string_view kParameter = "password=";
  for (size_t at = rest.find(kParameter); at != std::string_view::npos;
       at = rest.find(kParameter, at + 1)) {
    if (at > 0 && rest[at - 1] != '?' && rest[at - 1] != '&') continue;
    const size_t start = at + kParameter.size();
    passwords.emplace_back(rest.substr(start, rest.find('&', start) - start));
  }
  return passwords;
}

struct ResultClear {
  void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultClear>;

// Bounds of the connection's time where the URI sets none: a server that does not answer its
// start, or data it does not take, fails a request instead of holding a thread of the service.
// They come before the URI, whose own settings then win.
constexpr const char* kBoundKeywords[] = {"connect_timeout", "tcp_user_timeout", "dbname", nullptr};
constexpr const char* kBoundValues[] = {"5", "15000"};  // seconds; milliseconds

PGconn* connectBounded(const std::string& uri) {
  const char* values[] = {kBoundValues[0], kBoundValues[1], uri.c_str(), nullptr};
  return PQconnectdbParams(kBoundKeywords, values, 1);
}

// The connection, the prepared statements it has, and the throw of its failures.
class Session {
 public:
  explicit Session(const std::string& uri) : connection_(connectBounded(uri)) {
    if (PQstatus(connection_) != CONNECTION_OK) {
      // libpq quotes what it could not read of a URI, a password too.
      const std::string message = withoutPasswords(PQerrorMessage(connection_), uri);
      PQfinish(connection_);
      throw DatabaseError("cannot connect to the database: " + message);
    }
    // The server's notices (what a DROP took with it) are no failures, and standard error is the
    // request log's.
    PQsetNoticeProcessor(
        connection_, [](void*, const char*) {}, nullptr);
    try {
      boundStatements();
    } catch (const DatabaseError&) {
      PQfinish(connection_);
      throw;
    }
  }
  ~Session() { PQfinish(connection_); }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  PGconn* connection() const { return connection_; }
  // Counts the connection's lives: a statement prepared in an earlier one is gone.
  int life() const { return life_; }
  std::string newStatementName() { return "s" + std::to_string(++statements_); }

  // A connection the server or the network broke is made again; the transaction in progress
  // failed with it. True when it was.
  bool reconnectWhenBroken() {
    if (PQstatus(connection_) == CONNECTION_OK) return false;
    PQreset(connection_);
    ++life_;
    if (PQstatus(connection_) != CONNECTION_OK) fail(nullptr);
    boundStatements();
    return true;
  }

  // The result when it has `expected` status; throws otherwise.
  Result checked(PGresult* raw, ExecStatusType expected) const {
    Result result(raw);
    if (result == nullptr || PQresultStatus(result.get()) != expected) fail(result.get());
    return result;
  }

  [[noreturn]] void fail(const PGresult* result) const {
    const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const std::string message = result ? PQresultErrorMessage(result) : PQerrorMessage(connection_);
    if (state != nullptr && isConflict(state)) throw TransactionConflict(message);
    throw DatabaseError(message);
  }

 private:
  // A statement waits no longer for another's locks than SQLite waits for the file's. A setting
  // of the session: made again with each new one.
  void boundStatements() {
    checked(PQexec(connection_, "SET statement_timeout = 10000"), PGRES_COMMAND_OK);
  }

  PGconn* connection_;
  int life_ = 0;
  int statements_ = 0;
};

// Parameters go as text, and rows come back as text: every value the store keeps is a text or
// an integer.
class PostgresCursor final : public SqlCursor {
 public:
  PostgresCursor(Session& session, const std::string& sql)
      : session_(session), sql_(postgresParameters(sql)), name_(session.newStatementName()) {
    prepare();
  }

  void bind(int index, std::string_view text) override {
    if (parameters_.size() < static_cast<size_t>(index)) parameters_.resize(index);
    parameters_[index - 1] = std::string(text);
  }
  void bind(int index, std::int64_t number) override { bind(index, std::to_string(number)); }
  bool step() override {
    if (!result_) run();
    return ++row_ < PQntuples(result_.get());
  }
  std::string text(int column) override {
    return std::string(PQgetvalue(result_.get(), row_, column),
                       PQgetlength(result_.get(), row_, column));
  }
  std::int64_t integer(int column) override {
    const std::string value = text(column);
    std::int64_t number = 0;
    std::from_chars(value.data(), value.data() + value.size(), number);
    return number;
  }
  std::int64_t changes() override {
    if (!result_) run();
    std::int64_t rows = 0;
    const std::string_view tuples = PQcmdTuples(result_.get());
    std::from_chars(tuples.data(), tuples.data() + tuples.size(), rows);
    return rows;
  }
  void reset() override {
    result_.reset();
    parameters_.clear();
    row_ = -1;
  }

 private:
  void prepare() {
    session_.checked(PQprepare(session_.connection(), name_.c_str(), sql_.c_str(), 0, nullptr),
                     PGRES_COMMAND_OK);
    preparedIn_ = session_.life();
  }
  void run() {
    if (preparedIn_ != session_.life()) prepare();
    std::vector<const char*> values;
    for (const std::optional<std::string>& parameter : parameters_) {
      values.push_back(parameter ? parameter->c_str() : nullptr);
    }
    Result result(PQexecPrepared(session_.connection(), name_.c_str(),
                                 static_cast<int>(values.size()), values.data(), nullptr, nullptr,
                                 0));
    const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) session_.fail(result.get());
    result_ = std::move(result);
    row_ = -1;
  }

  Session& session_;
  const std::string sql_;
  const std::string name_;
  int preparedIn_ = 0;
  std::vector<std::optional<std::string>> parameters_;
  Result result_;
  int row_ = -1;
};

class PostgresConnection final : public SqlConnection {
 public:
  explicit PostgresConnection(const std::string& uri) : session_(uri) {}

  void execute(const std::string& sql) override {
    session_.checked(PQexec(session_.connection(), sql.c_str()), PGRES_COMMAND_OK);
  }
  bool recover() override { return session_.reconnectWhenBroken(); }
  // Serializable: two writes that would clash as no order of them could, fail one of them with
  // TransactionConflict. A read runs on a snapshot, which no writer holds up.
  void begin(Access access) override {
    execute(access == Access::kWrite ? "BEGIN ISOLATION LEVEL SERIALIZABLE"
                                     : "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
  }
  void commit() override { execute("COMMIT"); }
  // A COMMIT that failed has ended its transaction already: there is nothing to roll back.
  void rollback() noexcept override {
    const PGTransactionStatusType status = PQtransactionStatus(session_.connection());
    if (status != PQTRANS_INTRANS && status != PQTRANS_INERROR) return;
    PQclear(PQexec(session_.connection(), "ROLLBACK"));
  }
  std::unique_ptr<SqlCursor> prepare(const std::string& sql) override {
    return std::make_unique<PostgresCursor>(session_, sql);
  }

 private:
  Session session_;
};

}  // namespace

bool isPostgresUri(std::string_view location) {
  return location.starts_with("postgresql://") || location.starts_with("postgres://");
}

std::unique_ptr<SqlConnection> openPostgres(const std::string& uri) {
  return std::make_unique<PostgresConnection>(uri);
}

std::string withoutPasswords(std::string text, std::string_view uri) {
  std::vector<std::string> secrets;
  for (const std::string& password : writtenPasswords(uri)) {
    secrets.push_back(password);
    secrets.push_back(percentDecoded(password));
    for (size_t start = 0; start < password.size();) {
      const size_t end = std::min(password.find_first_of("/?#@:", start), password.size());
      secrets.push_back(password.substr(start, end - start));
      start = end + 1;
    }
  }
  // The longest first, so that no piece of one is left beside the mark of another.
  std::sort(secrets.begin(), secrets.end(),
            [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
  for (const std::string& secret : secrets) {
    if (secret.empty()) continue;
    for (size_t at = text.find(secret); at != std::string::npos; at = text.find(secret, at + 3)) {
      text.replace(at, secret.size(), "***");
    }
  }
  return text;
}

std::string postgresParameters(std::string_view sql) {
  std::string written;
  int next = 0;
  for (size_t at = 0; at < sql.size(); ++at) {
    if (sql[at] != '?') {
      written += sql[at];
      continue;
    }
    written += '$';
    if (at + 1 < sql.size() && std::isdigit(static_cast<unsigned char>(sql[at + 1]))) continue;
    written += std::to_string(++next);
  }
  return written;
}

}  // namespace velmora::service
