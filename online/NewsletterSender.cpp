#include "online/NewsletterSender.h"

#include "engine/basics/AppTime.h"
#include "engine/system/Error.h"
#include "platform/Clock.h"
#include "platform/HttpRequest.h"
#include "platform/Random.h"
#include "platform/Strings.h"

const std::string NewsletterDefaultServer = "newsletter.quiltora.invalid";
std::string NewsletterServer = NewsletterDefaultServer;

namespace {

const std::string kScript = "/newsletter/subscribe";
const std::string kInvalidAddress = "Invalid email address.";

TNewsletterSenderPtr theSender;

// The typed text without control characters (a typed name or address never needs them).
std::string WithoutControls(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text)
        if (c >= 32 && c != 127) out += static_cast<char>(c);
    return out;
}

// The status code of a reply's first line: "HTTP/1.", one digit, a blank, three digits, and
// then the line's end or a blank ("HTTP/1.0 200 OK" gives 200); 0 for any other line.
int StatusCode(const std::vector<std::string>& lines) {
    if (lines.empty()) return 0;
    const std::string& line = lines.front();
    auto digit = [&line](size_t i) { return i < line.size() && line[i] >= '0' && line[i] <= '9'; };
    if (line.compare(0, 7, "HTTP/1.") != 0 || !digit(7) || line.size() < 12 || line[8] != ' ') return 0;
    if (!digit(9) || !digit(10) || !digit(11) || (line.size() > 12 && line[12] != ' ')) return 0;
    return (line[9] - '0') * 100 + (line[10] - '0') * 10 + (line[11] - '0');
}

}  // namespace

bool ParseServerAddress(const std::string& address, std::string& host, int& port) {
    const std::string text = Trim(address);
    host = text;
    port = 80;
    const size_t colon = text.rfind(':');
    if (colon != std::string::npos) {
        host = text.substr(0, colon);
        const std::string digits = text.substr(colon + 1);
        if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos)
            return false;
        port = StringToInt(digits);
        if (port < 1 || port > 65535) return false;
    }
    return !host.empty();
}

bool NewsletterServerIsReal(const std::string& address) {
    std::string host;
    int port = 80;
    if (!ParseServerAddress(address, host, port)) return false;
    // A name made only of dots names no host.
    return host.find_first_not_of('.') != std::string::npos && !IsReservedInvalidHost(host);
}

void TNewsletterSender::init(const std::string& script, const std::string& host, const std::string& referer_) {
    target_script = script;
    referer = referer_;
    std::string h;
    int port = 80;
    if (ParseServerAddress(host, h, port)) {
        target_host = h;
        target_port = port;
    } else {
        target_host.clear();
        target_port = 80;
    }
    http_post = std::make_shared<tsendhttp>();
}

std::string TNewsletterSender::createCSUM(const std::string& text) {
    if (!text.empty()) return text;
    std::string token = Replace(CurrentDate(), " ", "") + Replace(CurrentTime(), ":", "");
    SeedRnd(AppMilliSecs());
    for (int i = 0; i < 40; ++i) token += static_cast<char>(Rand(97, 122));
    return token.empty() ? "0" : token;
}

void TNewsletterSender::createPostHeader() { lastLine = 12; }

void TNewsletterSender::closePostHeader() {
    if (static_cast<int32_t>(post.size()) < lastLine + 3) post.resize(static_cast<size_t>(lastLine) + 3);
    post[static_cast<size_t>(lastLine) + 1].clear();
    post[static_cast<size_t>(lastLine) + 2].clear();
    int64_t sum = 0;
    for (int32_t i = 12; i <= lastLine; ++i) sum += static_cast<int64_t>(post[static_cast<size_t>(i)].size()) + 2;
    post[10] = "Content-length: " + IntToString(sum);
}

void TNewsletterSender::saveVar(const std::string& name, const std::string& value) {
    if (!http_post) http_post = std::make_shared<tsendhttp>();
    http_post->addinput(name, value);
}

std::string TNewsletterSender::SendToServer(const THttpWaitHook& wait) {
    if (!http_post) http_post = std::make_shared<tsendhttp>();
    if (target_host.empty()) return "";
    const std::vector<std::string> lines = http_post->send(target_host, target_port, target_script, wait);
    return lines.empty() ? "" : lines.back();
}

TNewsletterAnswer TNewsletterSender::SendSub(const std::string& name, const std::string& email, const std::string& list,
                                             const THttpWaitHook& wait) {
    TNewsletterAnswer answer;
    if (AppMilliSecs() - lastSendTime < 1000) {
        answer.outcome = TNewsletterOutcome::TooFast;
        answer.text = "Too Fast";
        return answer;
    }
    lastSendTime = AppMilliSecs();
    saveVar("name", WithoutControls(name));
    saveVar("email", WithoutControls(email));
    saveVar("list", list);
    saveVar("boolean", "true");

    if (target_host.empty()) {
        Warning("Newsletter: no server is configured (\"" + NewsletterServer + "\"); the sign-up was not sent");
        return answer;
    }
    answer.text = SendToServer(wait);
    if (http_post->State() != THttpState::Done) {
        Warning("Newsletter: the sign-up was not sent: " + http_post->ErrorText());
        answer.text.clear();
        return answer;
    }
    const std::vector<std::string>& lines = http_post->ReplyLines();
    const int status = StatusCode(lines);
    if (status != 0 && answer.text == kInvalidAddress) {
        answer.outcome = TNewsletterOutcome::InvalidAddress;
    } else if (status >= 200 && status < 300) {
        answer.outcome = TNewsletterOutcome::SignedUp;
    } else {
        // What the server sent may be anything (up to 64 KB of binary): an escaped excerpt.
        Warning("Newsletter: the server gave no usable answer (\"" +
                (lines.empty() ? std::string() : ConsoleExcerpt(lines.front(), 120)) + "\")");
        answer.text.clear();
    }
    return answer;
}

TNewsletterSenderPtr GetNewsletterSender() {
    if (!theSender) theSender = std::make_shared<TNewsletterSender>();
    return theSender;
}

void ResetNewsletterSender() { theSender.reset(); }

TNewsletterAnswer SendToNewsletter(const std::string& name, const std::string& email, const std::string& list,
                                   const THttpWaitHook& wait) {
    TNewsletterSenderPtr sender = GetNewsletterSender();
    sender->init(kScript, NewsletterServer, "");
    return sender->SendSub(name, email, list, wait);
}
