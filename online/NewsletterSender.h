// The newsletter sign-up: the player's name and e-mail address, the game's mailing list and a
// fixed flag, posted as a form to "/newsletter/subscribe" on the maker's web server, at most one
// send a second.
//
// The server's address is configuration: NewsletterServer, "host" or "host:port" (port 80 when
// none is given), which the newsletter window sets from its settings file. The game ships a name
// in the reserved domain "invalid", which never resolves; with it the newsletter is switched off
// (NewsLetterSwitch), so nothing is sent anywhere unless someone configures a real server.
//
// Only a real answer counts: a sign-up is taken when the server sends an HTTP reply with a 2xx
// status (a first line of "HTTP/1.", a digit, a blank and exactly three digits, then the line's
// end or a blank) and closes the connection; a reply whose last line is "Invalid email address." is a
// refused address; anything else (no address, no connection, a time limit, another status, a
// reply that is not HTTP) is a failure that leaves the player free to try again.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "online/SendHttp.h"

// The server as "host" or "host:port".
extern std::string NewsletterServer;
// The address the game ships with.
extern const std::string NewsletterDefaultServer;

// Splits "host" or "host:port" into its parts (port 80 when none is given). False when the port
// is not a number from 1 to 65535 or the host is empty.
bool ParseServerAddress(const std::string& address, std::string& host, int& port);
// Whether an address names a server a sign-up can reach: it reads as an address (above) and its
// host is not the top-level name "invalid" or a name below it, which are reserved never to
// resolve (the shipped placeholder is one). Names are compared without regard to case.
bool NewsletterServerIsReal(const std::string& address);

enum class TNewsletterOutcome {
    SignedUp,        // the server took the sign-up
    InvalidAddress,  // the server refused the e-mail address
    TooFast,         // a second send within a second of the last: nothing went out
    Failed,          // no real answer came: nothing is known to have been taken
};

struct TNewsletterAnswer {
    TNewsletterOutcome outcome = TNewsletterOutcome::Failed;
    // The last line of the server's reply ("Too Fast" for a refused send; empty on failure).
    std::string text;
};

class TNewsletterSender {
public:
    std::vector<std::string> post = std::vector<std::string>(100);  // line buffer of the header helpers
    std::string target_script;
    std::string target_host;
    int32_t target_port = 80;
    std::string referer;  // kept, sent nowhere
    std::string boundary = tsendhttp::Boundary;
    int32_t lastLine = 0;
    int32_t lastSendTime = 0;  // application clock (ms) of the last send that went out
    tsendhttpPtr http_post;

    virtual ~TNewsletterSender() = default;

    // Sets the path, the server ("host" or "host:port") and the referer, and starts a new,
    // empty form. A server address that cannot be read leaves the host empty, so nothing is sent.
    virtual void init(const std::string& script, const std::string& host, const std::string& referer);
    // The text itself when not empty; else a token of the date, the time and 40 random
    // lower-case letters (the random generator seeded from the application clock).
    virtual std::string createCSUM(const std::string& text);
    virtual void createPostHeader();
    virtual void closePostHeader();
    // Sends the form and returns the last line of the reply; the empty text when no complete
    // reply came (http_post then tells why).
    virtual std::string SendToServer(const THttpWaitHook& wait = nullptr);
    // Adds a text field to the form.
    virtual void saveVar(const std::string& name, const std::string& value);
    // The one-second guard, the four fields, the send, and the judging of the answer.
    virtual TNewsletterAnswer SendSub(const std::string& name, const std::string& email, const std::string& list,
                                      const THttpWaitHook& wait = nullptr);
};

using TNewsletterSenderPtr = std::shared_ptr<TNewsletterSender>;

// Posts one sign-up to NewsletterServer through the program's one sender. `list` is the game's
// mailing list (the newsletter window's MacList). The wait hook is called while the request
// waits (at least every 15 ms), so the caller can draw frames; returning false gives up.
// Control characters are taken out of the typed name and address before they are sent.
TNewsletterAnswer SendToNewsletter(const std::string& name, const std::string& email, const std::string& list,
                                   const THttpWaitHook& wait = nullptr);

// The program's one sender (made by the first sign-up), and the way back to no sender (tests).
TNewsletterSenderPtr GetNewsletterSender();
void ResetNewsletterSender();
