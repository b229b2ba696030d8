// The subscribers of one kind of notice. Each is told in the order it subscribed; one that
// unsubscribes (itself or another) while it is told is not told again, and the others still are.
#pragma once

#include <algorithm>
#include <vector>

namespace tq {

template <typename Observer>
class Observers {
 public:
  void Subscribe(Observer& observer) {
    if (!Has(&observer)) list_.push_back(&observer);
  }
  void Unsubscribe(Observer& observer) { std::erase(list_, &observer); }

  template <typename Notice>
  void Notify(Notice notice) const {
    const std::vector<Observer*> subscribed = list_;
    for (Observer* observer : subscribed) {
      if (Has(observer)) notice(*observer);
    }
  }

 private:
  bool Has(const Observer* observer) const {
    return std::find(list_.begin(), list_.end(), observer) != list_.end();
  }

  std::vector<Observer*> list_;
};

}  // namespace tq
