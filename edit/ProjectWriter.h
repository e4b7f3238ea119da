// The bytes of a .cwf project file for a list: CR LF lines, TAB-separated fields, UTF-8 texts.
#pragma once

#include <QByteArray>

class SceneList;

QByteArray ProjectFileBytes(const SceneList& list);
