#pragma once
#include <QObject>

#include <functional>
#include <map>

class QWidget;

namespace korvex {

// Calls a page's store function when one of its fields loses the keyboard
// focus (and its enter function when the field gains it). Every way the
// focus leaves counts: Tab, a click elsewhere, a page switch, another
// window. StoreFocused runs the store function of the field that holds the
// focus in its window, for the page host's commit before any page reloads.
class FieldEvents : public QObject {
public:
    explicit FieldEvents(QObject* parent = nullptr) : QObject(parent) {}

    void OnFocusLost(QWidget* field, std::function<void()> store);
    void OnFocusGained(QWidget* field, std::function<void()> enter);
    void StoreFocused();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Watch(QWidget* field);

    std::map<QObject*, std::function<void()>> stores_;
    std::map<QObject*, std::function<void()>> enters_;
};

}  // namespace korvex
