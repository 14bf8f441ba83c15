#include "platformservices.h"

#include "textutils.h"

using namespace Qt::StringLiterals;

PlatformServices::FileRequest PlatformServices::tilesetFileRequest(FileRequest::Mode mode,
                                                                   const QString &title,
                                                                   const QString &fileName)
{
    FileRequest request;
    request.mode = mode;
    request.title = title;
    request.fileName = fileName;
    // The dialog shows the captions only. Qt takes a pattern literally, so the second
    // filter's own is "*": "*.*" would hide files without a dot, such as "hmkset".
    request.filters = {u"Hmkset.dat (*.dat)"_s, u"All files (*.*) (*)"_s};
    request.defaultSuffix = u"dat"_s;
    return request;
}

bool PlatformServices::agreesToCut(QWidget *owner, int cutFields, const QString &command)
{
    return cutFields == 0 || messageBox(owner,
                                        u"%1 would be cut to fit. %2 the same?"_s.arg(
                                            counted(cutFields, u"field"_s, u"fields"_s), command),
                                        command, Buttons::OkCancel, Icon::Question) == Answer::Ok;
}
