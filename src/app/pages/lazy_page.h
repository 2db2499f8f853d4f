#pragma once
// A configuration page whose controls are made when first needed: through the form's handle to it, when the
// configuration view opens, or when the page is shown. A batch run that never needs the page never pays for
// its controls and their fonts.
#include <QLayout>
#include <QShowEvent>
#include <QWidget>
#include <functional>

namespace nodra {

class LazyPage : public QWidget {
 public:
  explicit LazyPage(QWidget* parent = nullptr) : QWidget(parent) {}

  void ensureBuilt() {
    if (built_) return;
    built_ = true;
    build();
    if (onBuilt) onBuilt();
  }
  // Runs once, right after the controls are made: the form connects its handlers to them.
  std::function<void()> onBuilt;

 protected:
  virtual void build() = 0;

  void showEvent(QShowEvent* event) override {
    if (!built_) {
      ensureBuilt();
      // Controls made inside a shown page stay hidden until shown themselves.
      if (layout() != nullptr) layout()->activate();
      for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->testAttribute(Qt::WA_WState_ExplicitShowHide)) child->show();
      }
    }
    QWidget::showEvent(event);
  }

 private:
  bool built_ = false;
};

// The form's pointer to a lazy page: every use through it makes the page's controls first.
template <typename Page>
class PageHandle {
 public:
  PageHandle& operator=(Page* page) {
    page_ = page;
    return *this;
  }
  Page* get() const {
    page_->ensureBuilt();
    return page_;
  }
  Page* operator->() const { return get(); }
  operator Page*() const { return get(); }  // NOLINT(google-explicit-constructor): used as the page itself
  // The page without making its controls, for telling which page a widget is.
  Page* unbuilt() const { return page_; }

 private:
  Page* page_ = nullptr;
};

}  // namespace nodra
