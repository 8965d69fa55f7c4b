#pragma once
// Dialogs that never block: messages are recorded, file dialogs answered
// from a queue (an empty queue answers as a cancelled dialog).
#include <QMap>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

#include "app/dialogs.h"

namespace korvex::test {

struct ShownMessage {
    QMessageBox::Icon icon;
    QString text;
    QString detail;
};

struct FileQuestion {
    bool save;
    QString title;
    QString filter;
    QString suffix;
};

class RecordingDialogs final : public Dialogs {
public:
    void Message(QWidget*, QMessageBox::Icon icon, const QString& text, const QString& detail) override {
        messages.push_back({icon, text, detail});
    }
    bool Confirm(QWidget*, const QString& text) override {
        confirms << text;
        return answerYes;
    }
    QString OpenFileName(QWidget*, const QString& title, const QString& filter, const QString& suffix) override {
        return Answer({false, title, filter, suffix});
    }
    QString SaveFileName(QWidget*, const QString& title, const QString& filter, const QString& suffix) override {
        return Answer({true, title, filter, suffix});
    }

    void FileUsed(const QString& path) override { usedFiles << path; }

    bool Ask(QWidget*, const QString& text) override {
        asked.push_back(text);
        if (yesNo.empty()) return false;
        const bool yes = yesNo.front();
        yesNo.pop_front();
        return yes;
    }
    bool Choose(QWidget*, const QString& text, const QString& go, const QString& hold) override {
        if (onQuestion) onQuestion();
        choices.push_back({text, go, hold});
        return chooseGo;
    }
    SaveChoice AskSave(QWidget*, const QString& text, const QString& discard) override {
        if (onQuestion) onQuestion();
        saveQuestions << text;
        discardLabels << discard;
        return saveChoice;
    }
    std::optional<SpeechRequest> AskSpeech(QWidget*, const SpeechLabels& labels) override {
        speechLabels.push_back(labels);
        if (speech.empty()) return std::nullopt;
        SpeechRequest request = speech.front();
        speech.pop_front();
        return request;
    }

    // Answered from `rateAnswers`; an empty queue takes the default, as Enter would.
    std::optional<int> AskRate(QWidget*, const QString& title, const QString& label, const QList<int>& rates) override {
        rateQuestions.push_back({title, label, rates});
        if (rateAnswers.empty()) return rates.value(0);
        const std::optional<int> rate = rateAnswers.front();
        rateAnswers.pop_front();
        return rate;
    }

    // Kept in `remembered`, never in the user's settings.
    QString Remembered(const QString& key) override { return remembered.value(key); }
    void Remember(const QString& key, const QString& value) override { remembered[key] = value; }

    bool OpenDocument(const QString& path) override {
        openedDocuments << path;
        return documentOpens;
    }

    // The texts shown so far, and forget them.
    QStringList TakeTexts() {
        QStringList texts;
        for (const ShownMessage& m : messages) texts << m.text;
        messages.clear();
        return texts;
    }

    std::vector<ShownMessage> messages;
    std::deque<QString> answers;
    QStringList usedFiles;   // files reported opened or saved whole, in order
    bool answerYes = false;  // how every question is answered
    QStringList confirms;    // the questions asked
    std::vector<FileQuestion> questions;
    // Yes/No questions: asked, and the answers (an empty queue answers No).
    std::vector<QString> asked;
    std::deque<bool> yesNo;
    // Two-button choices asked, and how they are answered.
    struct Choice {
        QString text, go, hold;
    };
    std::vector<Choice> choices;
    bool chooseGo = false;
    // Questions before a close would lose edits, and how they are answered.
    QStringList saveQuestions;
    QStringList discardLabels;  // the Discard button's word in each
    SaveChoice saveChoice = SaveChoice::Cancel;
    // Runs as a save question or a choice is asked: what stands then.
    std::function<void()> onQuestion;
    // Rate questions before a conversion, and their answers (nothing: cancelled).
    struct RateQuestion {
        QString title;
        QString label;
        QList<int> rates;
    };
    std::vector<RateQuestion> rateQuestions;
    std::deque<std::optional<int>> rateAnswers;
    // Speech dialogs: what they showed, and the answers (empty: cancelled).
    std::vector<SpeechLabels> speechLabels;
    std::deque<SpeechRequest> speech;
    // What the program remembers between sessions.
    QMap<QString, QString> remembered;
    QStringList openedDocuments;
    bool documentOpens = true;

private:
    QString Answer(const FileQuestion& question) {
        questions.push_back(question);
        if (answers.empty()) return {};
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace korvex::test
