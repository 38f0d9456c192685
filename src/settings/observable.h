// A value that tells its listeners when it changes. A listener stays only as
// long as its subscription: the subscriber keeps the subscription object, and
// destroying it (with the subscriber) ends the listening, also when the
// value is gone first.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <utility>

namespace pendo {

template <class T>
class tobservable {
  struct tstate {
    T value;
    std::map<int, std::function<void(const T&)>> listeners;
    int next = 0;
  };

 public:
  class tsubscription {
   public:
    tsubscription() = default;
    tsubscription(std::weak_ptr<tstate> state, int id) : state_(std::move(state)), id_(id) {}
    tsubscription(tsubscription&& o) noexcept : state_(std::move(o.state_)), id_(o.id_) { o.state_.reset(); }
    tsubscription& operator=(tsubscription&& o) noexcept {
      if (this != &o) {
        Cancel();
        state_ = std::move(o.state_);
        id_ = o.id_;
        o.state_.reset();
      }
      return *this;
    }
    tsubscription(const tsubscription&) = delete;
    tsubscription& operator=(const tsubscription&) = delete;
    ~tsubscription() { Cancel(); }
    void Cancel() {
      if (auto s = state_.lock()) s->listeners.erase(id_);
      state_.reset();
    }

   private:
    std::weak_ptr<tstate> state_;
    int id_ = 0;
  };

  explicit tobservable(T value = T()) : state_(std::make_shared<tstate>()) { state_->value = std::move(value); }
  tobservable(const tobservable&) = delete;
  tobservable& operator=(const tobservable&) = delete;

  const T& Get() const { return state_->value; }
  // Tells every listener, in the order they subscribed, when the value differs.
  void Set(const T& value) {
    if (value == state_->value) return;
    state_->value = value;
    // A listener may end its own or another's subscription while told.
    const auto keep = state_;
    for (auto it = keep->listeners.begin(); it != keep->listeners.end();) {
      const int id = it->first;
      auto listener = it->second;
      listener(keep->value);
      it = keep->listeners.upper_bound(id);
    }
  }
  template <class F>
  void Update(F change) {
    T value = state_->value;
    change(value);
    Set(value);
  }
  // The listener hears of every change from now on.
  [[nodiscard]] tsubscription Subscribe(std::function<void(const T&)> listener) {
    const int id = state_->next++;
    state_->listeners.emplace(id, std::move(listener));
    return tsubscription(state_, id);
  }

 private:
  std::shared_ptr<tstate> state_;
};

}  // namespace pendo
