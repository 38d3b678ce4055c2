// The media framework's module, loaded at the first sound or stream.
#include "platform/modules.h"
#include "qt_audio.h"
#include "qt_stream_player.h"

#include <QObject>

class QtMediaModule : public QObject, public MediaModule {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID AurivexMediaModule_iid)
    Q_INTERFACES(MediaModule)
public:
    std::unique_ptr<Audio> createAudio() override { return std::make_unique<QtAudio>(); }
    std::unique_ptr<StreamPlayer> createStreamPlayer(std::function<void(StreamPlayer::Frame)> show) override {
        return std::make_unique<QtStreamPlayer>(std::move(show));
    }
};

#include "media_module.moc"
