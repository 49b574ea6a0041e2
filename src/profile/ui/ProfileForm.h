// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "profile/ProfileFormRules.h"

#include <QDialog>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QWidget;
class TCodePage;
class TColorPicker;
class TFontSample;
class TKeyboardLayoutAgent;
class TProfile;

// The profile dialog: shows one user's profile and lets the user change
// the course, fonts, colours, switches and keyboard layout, then save it,
// save it as a new user, or apply it to the running program.
//
// Use: create it; SetCourses; SetAgent (required before showing); then
// ShowForProfile (full mode, with Save) or ShowForNewUser, which answer
// QDialog::Accepted after Apply and QDialog::Rejected after Close.
class TProfileFm : public QDialog
{
    Q_OBJECT
public:
    explicit TProfileFm(const TCodePage& codePage, QWidget* parent = nullptr);

    // The course names (8-bit text) CourseEd lists.
    void SetCourses(const std::vector<std::string>& courses);
    // The users the store holds (8-bit text): Save refuses to write over
    // another one of them.
    void SetUsers(std::vector<std::string> users) { users_ = std::move(users); }
    void SetAgent(TKeyboardLayoutAgent* agent) { Agent = agent; }
    int ShowForProfile(TProfile* profile);
    int ShowForNewUser(TProfile* profile);

    TProfile* Profile = nullptr;
    TKeyboardLayoutAgent* Agent = nullptr;
    bool NewUser = false;

    QLabel* Label1;
    QComboBox* UserEd;
    QLabel* Label2;
    QComboBox* CourseEd;
    QLabel* Label8;
    QLabel* ProgressLb;
    QLabel* Label9;
    QLabel* TimeLb;
    QTabWidget* PageControl2;
    QPushButton* OkBn;
    QPushButton* BnApply;
    QPushButton* CancelBn;

    QWidget* TabSheet4;
    QPushButton* SetFontBn;
    TFontSample* ExampleEd;
    QPushButton* Button1;
    TFontSample* Example2Ed;
    QPushButton* Button3;
    TFontSample* Example3Ed;
    QLabel* Label3;
    TColorPicker* EdColor;
    QLabel* Label4;
    TColorPicker* ColorEd;

    QWidget* TabSheet5;
    QCheckBox* ChkFunSpeed;
    QCheckBox* HighlightEd;
    QCheckBox* BlinkingEd;
    QCheckBox* ChkFullScreen;
    QCheckBox* ChkDrillSoundEnabled;
    QCheckBox* ChkGameSoundEnabled;
    QCheckBox* ChkPopupAtEnd;

    QWidget* TntTabSheet1;
    QLabel* Label5;
    QComboBox* KeyboardsCombo;
    QPlainTextEdit* InfoMemo;
    QLabel* Label6;
    QLabel* OriginalKeyboardNameLb;
    QPushButton* BnApplyKb;

private:
    void FillControls(const TProfile& profile);
    void ReadControls(TProfile& profile, bool isNew);
    TProfileFormValues ControlValues() const;
    void ChooseFont(TFontSample* sample);

    void OkBnClick();
    void BnApplyClick();
    void CancelBnClick();
    void BnApplyKbClick();
    void SetFontBnClick() { ChooseFont(ExampleEd); }
    void Button1Click() { ChooseFont(Example2Ed); }
    void Button3Click() { ChooseFont(Example3Ed); }

    QString Text(const std::string& bytes) const;
    std::string Bytes(const QString& text) const;

    const TCodePage& codePage_;
    std::vector<std::string> users_;
};
