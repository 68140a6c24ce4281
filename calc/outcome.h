// The result of an operation that can fail: its value, or the reason it could
// not give one. The window-free layers return it; a window turns the reason
// into its one message. (std::expected comes only with C++23.)
#pragma once

#include <cassert>
#include <string>
#include <utility>
#include <variant>

namespace vostrel {

// The reason of a failed operation, on its way into an Outcome:
// `return Failure(reason);`.
template <class Reason> struct Failure {
    explicit Failure(Reason why) : reason(std::move(why)) {}
    Reason reason;
};
template <class Reason> Failure(Reason) -> Failure<Reason>;
Failure(const char*)->Failure<std::string>;

// A value of type T or a Reason. It must be looked at: dropping it unread is
// a compile error under -Werror.
template <class T, class Reason = std::string> class [[nodiscard]] Outcome {
public:
    Outcome(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    template <class R>
    Outcome(Failure<R> failure) : state_(std::in_place_index<1>, std::move(failure.reason)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    // The value; only of an outcome that is ok().
    const T& value() const& {
        assert(ok());
        return *std::get_if<0>(&state_);
    }
    T&& value() && {
        assert(ok());
        return std::move(*std::get_if<0>(&state_));
    }
    const T& operator*() const& { return value(); }
    const T* operator->() const { return &value(); }

    // Why it failed; only of an outcome that is not ok().
    const Reason& reason() const {
        assert(!ok());
        return *std::get_if<1>(&state_);
    }

private:
    std::variant<T, Reason> state_;
};

// An operation that gives no value: done, or the reason it was not.
template <class Reason> class [[nodiscard]] Outcome<void, Reason> {
public:
    Outcome() = default;
    template <class R>
    Outcome(Failure<R> failure) : reason_(std::move(failure.reason)), ok_(false) {}

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    const Reason& reason() const {
        assert(!ok_);
        return reason_;
    }

private:
    Reason reason_{};
    bool ok_ = true;
};

} // namespace vostrel
