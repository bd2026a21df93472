#pragma once
// The command lines of the tools, parsed with CLI11: what a parse came to (run, help, version
// or a mistake) and the one-line message of a mistake, naming the option. Header-only so that
// the plain parts of both tools share it without a library of their own.

#include <CLI/CLI.hpp>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#ifndef SONVARA_VERSION
#define SONVARA_VERSION "unknown"
#endif

namespace tools {

enum class ParseKind { Run, Help, Version, Error };

struct ParseOutcome {
    ParseKind kind = ParseKind::Run;
    std::string text;  // the help or version text, or the mistake
};

inline std::string VersionText(const std::string& program) {
    return program + " " + SONVARA_VERSION;
}

// A check of an option's value: `wants` says what the option takes, e.g. "16 .. 4096 pixels".
// The message of a refused value becomes "--width: wants 16 .. 4096 pixels, not 'abc'".
inline CLI::Validator Wants(std::function<bool(const std::string&)> accept, std::string wants) {
    return CLI::Validator(
        [accept = std::move(accept), wants](std::string& value) {
            return accept(value) ? std::string() : "wants " + wants + ", not '" + value + "'";
        },
        "");
}

// Options of one value take the last one given, as most programs do.
inline void LastValueWins(CLI::App& app) {
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

namespace detail {

inline std::string OptionOf(const std::string& message) {
    const auto colon = message.find(':');
    return colon == std::string::npos ? message : message.substr(0, colon);
}

// An argument is an option when it starts with '-' and is not a negative number.
inline bool LooksLikeOption(const std::string& arg) {
    if (arg.size() < 2 || arg[0] != '-') return false;
    return !(std::isdigit(static_cast<unsigned char>(arg[1])) || arg[1] == '.');
}

}  // namespace detail

// Parses args (without the program name). Unknown options are a mistake
// ("unknown option '--fast'"); arguments that are not options and that the app has no place
// for are "unexpected argument 'x'".
inline ParseOutcome ParseCommandLine(CLI::App& app, const std::vector<std::string>& args) {
    app.allow_extras();
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        return {ParseKind::Help, app.help()};
    } catch (const CLI::CallForVersion& version) {
        return {ParseKind::Version, std::string(version.what()) + "\n"};
    } catch (const CLI::ArgumentMismatch& mismatch) {
        const std::string message = mismatch.what();
        if (message.find("missing") != std::string::npos) {
            return {ParseKind::Error, detail::OptionOf(message) + " needs a value"};
        }
        return {ParseKind::Error, message};
    } catch (const CLI::ParseError& error) {
        return {ParseKind::Error, error.what()};
    }
    for (const std::string& extra : app.remaining()) {
        if (detail::LooksLikeOption(extra)) {
            return {ParseKind::Error, "unknown option '" + extra + "'"};
        }
    }
    if (!app.remaining().empty()) {
        return {ParseKind::Error, "unexpected argument '" + app.remaining().front() + "'"};
    }
    return {};
}

// Copies a parse outcome into a program's parse result (its help, version, text and error
// members); true when the program is to run with the options parsed.
template <class Result>
bool TakeOutcome(const ParseOutcome& outcome, Result& result) {
    result.help = outcome.kind == ParseKind::Help;
    result.version = outcome.kind == ParseKind::Version;
    if (outcome.kind == ParseKind::Run) return true;
    (outcome.kind == ParseKind::Error ? result.error : result.text) = outcome.text;
    return false;
}

}  // namespace tools
