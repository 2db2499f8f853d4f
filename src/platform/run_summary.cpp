#include "platform/run_summary.h"

#include <ctime>
#include <nlohmann/json.hpp>

#include "platform/atomic_file.h"
#include "platform/cp1250.h"
#include "platform/utf8_text.h"

namespace nodra {

namespace {

// A message may carry line ends as CR LF; JSON keeps them, as "\r\n".
std::string utf8(std::string_view cp1250Text) { return cp1250::toUtf8(cp1250Text); }

}  // namespace

std::string isoLocalTime(std::chrono::system_clock::time_point when) {
  const std::time_t t = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  ::localtime_r(&t, &local);
  char text[40];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local);
  // %z gives +0100; ISO 8601's extended form wants +01:00.
  const std::string_view iso(text);
  if (iso.size() < 5) return std::string(iso);
  return std::string(iso.substr(0, iso.size() - 2)) + ":" + std::string(iso.substr(iso.size() - 2));
}

RunSummary::RunSummary(std::string command)
    : command_(std::move(command)), started_(std::chrono::system_clock::now()) {}

void RunSummary::terminal(std::string_view root) { terminal_ = std::string(root); }

void RunSummary::output(std::string_view path, std::uint64_t records) {
  // A work file rewritten by every pass is one file written: its last content counts.
  for (Output& o : outputs_) {
    if (o.path == path) {
      o.records = records;
      return;
    }
  }
  outputs_.push_back({std::string(path), records});
}

void RunSummary::input(std::string_view path, std::uint64_t records, std::uint64_t dropped) {
  inputs_.push_back({std::string(path), records, dropped});
}

void RunSummary::archive(std::string_view folder) { archive_ = std::string(folder); }

void RunSummary::message(std::string_view caption, std::string_view text) {
  messages_.push_back({std::string(caption), std::string(text)});
}

std::string RunSummary::json(int exitCode) const {
  nlohmann::ordered_json j;
  // As given: the command line is UTF-8 where it is valid UTF-8; other bytes are shown as Windows-1250,
  // which every byte has.
  Utf8Check check;
  check.feed(command_.data(), command_.size());
  j["command"] = check.valid() ? command_ : utf8(command_);
  j["exitCode"] = exitCode;
  j["started"] = isoLocalTime(started_);
  j["finished"] = isoLocalTime(std::chrono::system_clock::now());
  j["terminal"] = terminal_ ? nlohmann::ordered_json(utf8(*terminal_)) : nlohmann::ordered_json(nullptr);
  j["outputs"] = nlohmann::ordered_json::array();
  for (const Output& o : outputs_) j["outputs"].push_back({{"path", utf8(o.path)}, {"records", o.records}});
  j["inputs"] = nlohmann::ordered_json::array();
  for (const Input& i : inputs_) {
    j["inputs"].push_back({{"path", utf8(i.path)}, {"records", i.records}, {"dropped", i.dropped}});
  }
  j["archive"] = archive_ ? nlohmann::ordered_json(utf8(*archive_)) : nlohmann::ordered_json(nullptr);
  j["messages"] = nlohmann::ordered_json::array();
  for (const Shown& m : messages_) j["messages"].push_back({{"caption", utf8(m.caption)}, {"text", utf8(m.text)}});
  return j.dump(2) + "\n";
}

bool RunSummary::write(const std::filesystem::path& file, int exitCode, FileError& error) const {
  return replaceFile(file, json(exitCode), error);
}

}  // namespace nodra
