#pragma once
// One XML writer's run: detect the terminal, read its store file line by line, stream the XML file.
#include <string>
#include <string_view>

#include "store/read_out_context.h"
#include "xml/xml_store_layout.h"

namespace nodra {

// Input paths longer than this (in their 8-bit form) are refused rather than cut.
inline constexpr std::size_t kXmlInputPathMax = 150;

// The output file: the folder part of path_xmlOut and the file's name. Without a folder part, the program's
// folder.
std::string xmlOutputPath(std::string_view pathXmlOut, std::string_view exeFolder, std::string_view outputName);

// `decimalSeparator` is the user's (userDecimalSeparator); tests choose it. True when the file was written.
bool writeXmlStore(ReadOutContext& ctx, const XmlStoreLayout& layout, char decimalSeparator);

}  // namespace nodra
