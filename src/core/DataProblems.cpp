#include "core/DataProblems.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "core/Trace.h"

DataProblems* DataProblems::active = nullptr;

DataProblems::DataProblems() : outer(active) { active = this; }

DataProblems::~DataProblems() { active = outer; }

void DataProblems::Add(const std::string& problem) {
    if (std::find(list.begin(), list.end(), problem) == list.end()) list.push_back(problem);
}

void DataProblems::Note(const std::string& problem) {
    if (active != nullptr) active->Add(problem);
}

void DataProblems::Trace(const std::string& problem) {
    debug << problem << std::endl;
    Note(problem);
}

void DataProblems::Report(const std::string& problem) {
    debug << problem << std::endl;
    if (active != nullptr) {
        active->Add(problem);
    } else {
        std::cerr << problem << std::endl;
    }
}

void DataProblems::Abandon(const std::string& problem, int status) {
    if (active != nullptr) {
        active->Add(problem);
        throw Abandoned(problem, status);
    }
    std::cerr << problem << std::endl;
    std::exit(status);
}
