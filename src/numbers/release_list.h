#pragma once

class QLabel;
class QString;

namespace lanxun {

class HttpRequest;
class NumberList;

// How numbers are given back: released to the platform's pool (yh_sf), or black-listed for
// this user (yh_lh).
enum class Disposal { Release, Blacklist };

// Gives back every number of the list, then empties it. The status label reads
// "正在释放当前列表手机号码中请稍候.." meanwhile (for both kinds). Each row goes once, with its
// own project ID, 200 ms after the one before; a row deleted meanwhile is left to whoever
// deleted it, one added or used again meanwhile goes too, and a row without a number or
// project sends nothing. The replies change nothing, and the list is emptied whatever they
// were. Runs on the UI thread (the window keeps handling messages in the pauses; the caller
// holds a HandlerScope) or on a batch thread.
// A worker that is told to stop leaves at its next pause, the list as it stands.
void ReleaseList(NumberList& list, QLabel* statusLabel, Disposal how);

// The request for one number: yh_sf or yh_lh with the project ID and the number.
// Returns the reply text.
QString DisposeNumber(HttpRequest& request, Disposal how, const QString& projectId,
                      const QString& phone);

}  // namespace lanxun
