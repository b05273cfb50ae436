#pragma once
// The notice block appended to postings: a heading, the address of the
// program's download page (a setting of the build), and the request not to
// quote the sketch lines in replies.

#include <QStringList>

namespace editor {

#ifndef SKETCHPOST_DOWNLOAD_URL
#define SKETCHPOST_DOWNLOAD_URL "https://sketchpost.org/download"
#endif

inline QStringList NoticeBlockLines() {
  return {QStringLiteral("------- Sketchpost -------"), QStringLiteral(SKETCHPOST_DOWNLOAD_URL),
          QStringLiteral("PLEASE remove the quoted Sketchpost text in your response posting!")};
}

}  // namespace editor
