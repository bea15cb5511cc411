#pragma once

#include <QString>

#include <set>
#include <vector>

namespace korvesta {

class Database;
class PlacementChoice;
class Prompts;
struct PlacementRequest;
struct SettingsRecord;
struct SlotLesson;

// What the user agreed to in the questions before a placement is written, so that the write
// can tell a state it was asked about from one another program made since.
struct PlacementAgreement
{
    // Auditoriums the user keeps although another lesson holds them then.
    std::set<int> occupiedKept;
    // The group's lessons at the other lesson of a pair that the pair replaces.
    std::vector<qint64> partnerLessons;
};

// The occupied-auditorium question: "Аудитория '101 (Главный)'" + where (" занята на данном
// на уроке", " занята на 4 уроке", ...) and the two lines that say what OK and Cancel do.
QString occupiedAuditoriumQuestion(const QString &auditorium, const QString &where);

// The questions and refusals of "Добавить" that read the document as it is at the press
// (the dialog may have stood open for a while): a pair needs its tutors free at the other
// lesson and the user's word before it replaces lessons there; an auditorium another lesson
// holds at either lesson, or one given to two slots of different tutors, is kept only after
// the occupied-auditorium question. False when refused; the user was told. Throws DbError.
bool placementAgreed(const Database &db, PlacementChoice &c, const PlacementRequest &request,
                     Prompts &prompts, PlacementAgreement &agreement);

// The lessons about to be written, checked inside the write's transaction against what the
// date holds then (less the lessons they replace) by the clash rules, the tutors' exceptions,
// the day limits and, where the settings limit them, the hours left of their load lines: the
// refusal to tell, empty when they may be written. Throws DbError.
QString placementRefusal(const Database &db, const PlacementChoice &c,
                         const std::vector<SlotLesson> &added,
                         const std::vector<qint64> &replaced,
                         const PlacementAgreement &agreement, const SettingsRecord &settings);

} // namespace korvesta
