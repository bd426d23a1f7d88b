#include "morlex_date_widget_p.h"

namespace morlex::qt {
namespace {

// Turns the control's events into the widget's signals.
class SignalSink final : public EventRelay {
 public:
  SignalSink(MorlexDateWidget& widget, std::function<void(bool)> follow,
             std::function<bool()> text_watched, std::function<bool()> unedited)
      : widget_(widget),
        follow_(std::move(follow)),
        text_watched_(std::move(text_watched)),
        unedited_(std::move(unedited)) {}
  void OnEvent(Event event) override {
    switch (event) {
      case Event::kDateChanged:
        // The text is read for a receiver only: this runs at every typed key.
        if (text_watched_()) Q_EMIT widget_.textChanged(widget_.text());
        follow_(false);  // then dateChanged, when the date changed with it
        break;
      case Event::kDateInvalid:
        // A commit of a text that is no date: a typed change held back for
        // the commit is told now.
        follow_(true);
        // A text that a delegate loaded from its model and the user left as
        // it was is no mistake of the user's: passing through says nothing.
        if (!unedited_()) Q_EMIT widget_.dateInvalid();
        break;
      case Event::kClick:
        Q_EMIT widget_.clicked();
        break;
      case Event::kDblClick:
        Q_EMIT widget_.doubleClicked();
        break;
      case Event::kDateError:
        break;  // with its arguments, below
    }
  }
  void DateError(ErrObject& objErr, std::u16string& strCustom) override {
    Q_EMIT widget_.dateError(QString::fromStdString(objErr.source),
                             QString::fromStdString(objErr.description), ToQString(strCustom));
  }

 private:
  MorlexDateWidget& widget_;
  std::function<void(bool)> follow_;
  std::function<bool()> text_watched_;
  std::function<bool()> unedited_;
};

}  // namespace

namespace detail {

std::shared_ptr<MorlexDateEvents> MakeSignalSink(MorlexDateWidget& widget,
                                                 std::function<void(bool)> follow,
                                                 std::function<bool()> text_watched,
                                                 std::function<bool()> unedited) {
  return std::make_shared<SignalSink>(widget, std::move(follow), std::move(text_watched),
                                      std::move(unedited));
}

}  // namespace detail
}  // namespace morlex::qt
