// Expected failures as values: a Status (OK or a category plus the user's German
// message) and a Result<T> (a value or a Status). Nothing in the project throws.
#pragma once

#include <QString>
#include <optional>
#include <utility>

namespace q {

enum class Category { Ok, NotFound, Invalid, Io, Corrupt, Busy, Cancelled, Internal };

class [[nodiscard]] Status {
public:
    Status() = default;
    static Status ok() { return {}; }
    static Status notFound(QString m) { return {Category::NotFound, std::move(m)}; }
    static Status invalid(QString m) { return {Category::Invalid, std::move(m)}; }
    static Status io(QString m) { return {Category::Io, std::move(m)}; }
    static Status corrupt(QString m) { return {Category::Corrupt, std::move(m)}; }
    static Status busy(QString m) { return {Category::Busy, std::move(m)}; }
    static Status cancelled(QString m = {}) { return {Category::Cancelled, std::move(m)}; }
    static Status internal(QString m) { return {Category::Internal, std::move(m)}; }
    // A failure of category `c` (not Ok) with the message `m`: a cause passed on
    // under a message of its own.
    static Status of(Category c, QString m) {
        Q_ASSERT(c != Category::Ok);
        return {c, std::move(m)};
    }

    bool isOk() const { return m_category == Category::Ok; }
    explicit operator bool() const { return isOk(); }
    Category category() const { return m_category; }
    // The final German text for the user; empty for OK.
    const QString& message() const { return m_message; }

private:
    Status(Category c, QString m) : m_category(c), m_message(std::move(m)) {}
    Category m_category = Category::Ok;
    QString m_message;
};

template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Status status) : m_status(std::move(status)) { Q_ASSERT(!m_status.isOk()); }

    bool isOk() const { return m_value.has_value(); }
    explicit operator bool() const { return isOk(); }
    const Status& status() const { return m_status; }
    T& value() { Q_ASSERT(m_value); return *m_value; }
    const T& value() const { Q_ASSERT(m_value); return *m_value; }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

private:
    std::optional<T> m_value;
    Status m_status;
};

// Returns the status from the enclosing function when it is not OK.
#define Q_TRY(expr)                                  \
    do {                                             \
        ::q::Status q_try_status_ = (expr);          \
        if (!q_try_status_.isOk()) return q_try_status_; \
    } while (0)

}  // namespace q
