#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace scorvane {

// The failure numbers the program tests. A platform failure always arrives as one of these or as
// a number of its own (OtherBase + errno) with the system's description.
namespace FailureNumber {
inline constexpr int InvalidCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int BadFileName = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int DeviceIO = 57;
inline constexpr int FileExists = 58;
inline constexpr int DiskFull = 61;
inline constexpr int InputPastEnd = 62;
inline constexpr int BadRecordNumber = 63;
inline constexpr int PermissionDenied = 70;
inline constexpr int InvalidPropertyValue = 380;
// The folder or the entry a chosen path named when the run began is no longer the one it names.
inline constexpr int ChangedSinceChosen = 999;
inline constexpr int OtherBase = 1000;
}  // namespace FailureNumber

struct Failure {
    int number = 0;
    std::string description;
};

// The description the program shows for one of its own failure numbers.
std::string DescribeFailure(int number);
Failure MakeFailure(int number);

// A value or the failure that prevented it.
template <typename T = void>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::move(value)) {}
    Result(Failure failure) : state_(std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T& value() const { return std::get<0>(state_); }
    T& value() { return std::get<0>(state_); }
    T value_or(T fallback) const { return ok() ? value() : std::move(fallback); }
    const Failure& failure() const { return std::get<1>(state_); }

private:
    std::variant<T, Failure> state_;
};

template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure) : failure_(std::move(failure)) {}

    bool ok() const { return !failure_.has_value(); }
    explicit operator bool() const { return ok(); }
    const Failure& failure() const { return *failure_; }

private:
    std::optional<Failure> failure_;
};

}  // namespace scorvane
