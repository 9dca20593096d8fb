#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace skerry {

// Why something could not be done, in words a message can show.
struct Failure {
    std::string reason;
};

// A value, or the reason it could not be had: the one way the program's functions report a
// failure. The reason becomes a message only where the user sees it (a message box, a line of
// skerry-batch), so no failure is turned into text, or dropped, on its way up. (std::expected
// would serve, but the clang of the fuzz and tidy builds cannot compile the <expected> of the
// standard library it uses.)
template <class T>
class [[nodiscard]] Outcome {
public:
    Outcome(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Outcome(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    // The value; asking a failure for it throws std::bad_variant_access.
    T& operator*() & { return std::get<0>(state_); }
    const T& operator*() const& { return std::get<0>(state_); }
    T&& operator*() && { return std::get<0>(std::move(state_)); }
    T* operator->() { return &std::get<0>(state_); }
    const T* operator->() const { return &std::get<0>(state_); }

    // The failure; asking a value for it throws std::bad_variant_access.
    const Failure& failure() const { return std::get<1>(state_); }
    const std::string& reason() const { return failure().reason; }

private:
    std::variant<T, Failure> state_;
};

// Done, or the reason it could not be done.
template <>
class [[nodiscard]] Outcome<void> {
public:
    Outcome() = default;
    Outcome(Failure failure) : failure_(std::move(failure)) {}

    bool ok() const { return !failure_; }
    explicit operator bool() const { return ok(); }

    const Failure& failure() const { return failure_.value(); }
    const std::string& reason() const { return failure().reason; }

private:
    std::optional<Failure> failure_;
};

using Done = Outcome<void>;

} // namespace skerry
