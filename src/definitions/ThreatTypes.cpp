#include "definitions/ThreatTypes.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace bastion {

namespace {

// The texts stand as the user has always seen them, double blanks between
// sentences and spelling included.
constexpr ThreatTypeEntry kCatalogue[] = {
    {"", "Medium", "Unknown"},
    {"Adware", "Medium/High", "Adware displays ads on your computer and can compromise your security."},
    {"Annoyance", "Low", "Makes it difficult to use your computer"},
    {"AV Killer", "HIGH", "Attempts to disable Antivirus software"},
    {"Backdoor", "HIGH", "Allows remote access to your computer"},
    {"Browser Helper Object", "Low/Medium/High",
     "If you installed this software it is not a threat.  Otherwise you should research it.  This software "
     "embeds itself in your browser."},
    {"Bundleware", "Medium", "Installs additional software onto your system that you may not be aware of"},
    {"Commercial RAT", "Low/Medium/High",
     "High risk if you did not install this software to monitor your own computer.  Otherwise it is safe to use."},
    {"Dialer", "HIGH", "Attempts to dial pay numbers and charge the calls to your phone line."},
    {"DirTestSAFE", "No risk", "This is a test directory."},
    {"DoS", "Medium/High", "Used for Denial of Service attacks against websites"},
    {"Downloader", "Medium/High", "Downloads additional software onto your computer that you may not be aware of"},
    {"Dropper", "HIGH", "Installs software onto your computer in an attempt to avoid antivirus protection"},
    {"Error Hijacker", "Medium/High", "Attempts to trick you into fixing errors by downloading software"},
    {"Exploit", "Medium/High", "Tries to exploit security flaws in your system"},
    {"Flooder", "Medium/High", "Tries to peform denial of service attacks on websites"},
    {"FTP Server", "Medium/High", "Allows remote access to your files"},
    {"Hijacker", "HIGH",
     "Tries to lock you out of certain parts of your computer so that you cannot remove malicious software"},
    {"Homepage Hijacker", "Low/Medium/High",
     "Changes your homepage.  Depending on the webpage this can be low or high risk.  May install additional "
     "software."},
    {"Key Logger", "Medium/High",
     "Logs your keystrokes and sends them to a remote third party.  Different than a commercial keylogger, which "
     "is used to monitor your own system"},
    {"Mail bomber", "Medium/High", "Floods a target's email account with emails"},
    {"Malware", "HIGH", "Can damage your system"},
    {"Worm", "HIGH", "Automatically propogates from your system to others"},
    {"Misc Tool", "Low",
     "This could be related to a spyware or hacking tool but if it was installed by you it is not a threat."},
    {"P2P", "Low",
     "P2P software can expose your files if you are not aware of what is being shared.  It can also leave your "
     "ports open to attack from exploits."},
    {"P2P Link Advertising", "Medium", "Advertises on your computer without your consent"},
    {"Password Capture", "HIGH", "Attempts to seal your passwords"},
    {"Proxy", "Medium/High",
     "Directs all your internet traffic through another computer.  Can be used to steal unencrypted information."},
    {"RAT", "Low/Medium/High",
     "Remote access tool.  If you did not install this yourself it is high risk.  It can be used to gain remote "
     "access to your computer."},
    {"Recent Document List", "Low", "Can be a privacy concern"},
    {"Safety Test", "No risk", "This is a test"},
    {"Search Hijacker", "Medium/High",
     "Redirects your searches to a different search engine.  Can attempt to install spyware."},
    {"Sniffer", "Medium/High", "Analyzes your internet traffic.  Can be used to steal passwords."},
    {"Spyware", "Medium/High", "Spys on your computer activity"},
    {"Surveillance", "Medium/High",
     "Used to view webcams remotely.  Low risk if you installed it yourself.  High risk if you did not."},
    {"Testfile", "No risk", "This is a test file."},
    {"Toolbar", "Medium/High", "Attaches itself to your browser and can be intrusive or spyware"},
    {"Tracking Cookie", "Low", "Not malicious but can be a privacy concern"},
    {"Trackware", "Medium/High", "Tracks your activity online"},
    {"Trojan", "HIGH", "Allows remote access to your computer.  Can be malicious and damage your system."},
};

}  // namespace

std::span<const ThreatTypeEntry> ThreatTypeCatalogue() {
    return kCatalogue;
}

const ThreatTypeEntry* FindThreatType(std::string_view type) {
    auto found = std::find_if(std::begin(kCatalogue), std::end(kCatalogue),
                              [type](const ThreatTypeEntry& entry) { return entry.type == type; });
    return found == std::end(kCatalogue) ? nullptr : &*found;
}

ThreatType ThreatTypeOf(std::string_view type) {
    const ThreatTypeEntry* entry = FindThreatType(type);
    if (entry == nullptr) return {std::string(type), {}, {}};
    return {std::string(type), std::string(entry->risk), std::string(entry->details)};
}

}  // namespace bastion
