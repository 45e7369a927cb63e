// Form2: the modal prompt in which the user picks the model year of a 13-character
// VIN whose year digit could belong to either decade.
#pragma once

#include <QDialog>

#include <cstdint>

#include "model_year.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace kordel::ui {

class SpinButton;

class YearPrompt : public QDialog {
  Q_OBJECT
 public:
  YearPrompt(const CandidateYears &candidates, QWidget *parent);

  // The year Ok read; 0 when the prompt was closed without Ok.
  std::int32_t model_year() const { return model_year_; }

 private:
  void step(std::optional<QString> text);
  void confirm();

  YearStepper stepper_;
  std::int32_t model_year_ = 0;
  QLabel *label1_;
  QLineEdit *text1_;
  SpinButton *spin_button1_;
  QPushButton *command1_;
};

}  // namespace kordel::ui
