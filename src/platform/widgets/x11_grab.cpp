#include "x11_grab.h"

#if AURIVEX_HAVE_X11 && AURIVEX_HAVE_XSHM
#include <QGuiApplication>
#include <QPainter>
#include <sys/ipc.h>
#include <sys/shm.h>
// Xlib's macros (None, Bool, Status, ...) would break Qt's headers: it comes last.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#endif

namespace x11grab {

#if AURIVEX_HAVE_X11 && AURIVEX_HAVE_XSHM

namespace {

// One shared-memory image, kept while grabs keep their size (the magnifier
// grabs the same size twenty times a second).
class ShmGrabber {
public:
    ~ShmGrabber() {
        release();
        if (display_)
            XCloseDisplay(display_);
    }

    QImage grab(const QRect& rect) {
        if (!open())
            return {};
        Window root = 0;
        int x = 0;
        int y = 0;
        unsigned width = 0;
        unsigned height = 0;
        unsigned border = 0;
        unsigned depth = 0;
        XGetGeometry(display_, DefaultRootWindow(display_), &root, &x, &y, &width, &height, &border, &depth);
        const QRect inside = rect.intersected(QRect(0, 0, int(width), int(height)));
        QImage result(rect.size(), QImage::Format_RGB32);
        result.fill(Qt::black);
        if (inside.isEmpty())
            return result;
        if (!prepare(inside.size()))
            return {};
        if (!XShmGetImage(display_, root, image_, inside.x(), inside.y(), AllPlanes))
            return {};
        const QImage shown(reinterpret_cast<const uchar*>(image_->data), inside.width(), inside.height(),
                           image_->bytes_per_line, QImage::Format_RGB32);
        QPainter painter(&result);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(inside.topLeft() - rect.topLeft(), shown);
        return result;
    }

private:
    bool open() {
        if (display_)
            return usable_;
        auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        Display* shared = x11 ? x11->display() : nullptr;
        if (!shared)
            return false;
        // A connection of its own keeps these requests and their errors away
        // from the toolkit's.
        display_ = XOpenDisplay(DisplayString(shared));
        if (!display_)
            return false;
        const Visual* visual = DefaultVisual(display_, DefaultScreen(display_));
        // Only the layout QImage::Format_RGB32 reads as it is.
        usable_ = XShmQueryExtension(display_) && DefaultDepth(display_, DefaultScreen(display_)) >= 24 &&
                  visual->red_mask == 0xff0000 && visual->green_mask == 0xff00 && visual->blue_mask == 0xff;
        return usable_;
    }

    bool prepare(const QSize& size) {
        if (image_ && size_ == size)
            return true;
        release();
        const int screen = DefaultScreen(display_);
        image_ = XShmCreateImage(display_, DefaultVisual(display_, screen), DefaultDepth(display_, screen),
                                 ZPixmap, nullptr, &segment_, size.width(), size.height());
        if (!image_)
            return false;
        if (image_->bits_per_pixel != 32 || image_->byte_order != LSBFirst) {
            release();
            usable_ = false;
            return false;
        }
        segment_.shmid =
            shmget(IPC_PRIVATE, size_t(image_->bytes_per_line) * size_t(image_->height), IPC_CREAT | 0600);
        if (segment_.shmid < 0) {
            release();
            return false;
        }
        segment_.shmaddr = image_->data = static_cast<char*>(shmat(segment_.shmid, nullptr, 0));
        segment_.readOnly = False;
        if (segment_.shmaddr == reinterpret_cast<char*>(-1) || !XShmAttach(display_, &segment_)) {
            release();
            usable_ = false;
            return false;
        }
        XSync(display_, False);
        attached_ = true;
        // Freed by the system once both sides have let go, even after a crash.
        shmctl(segment_.shmid, IPC_RMID, nullptr);
        size_ = size;
        return true;
    }

    void release() {
        if (attached_) {
            XShmDetach(display_, &segment_);
            XSync(display_, False);
            attached_ = false;
        }
        if (segment_.shmaddr && segment_.shmaddr != reinterpret_cast<char*>(-1))
            shmdt(segment_.shmaddr);
        if (segment_.shmid >= 0)
            shmctl(segment_.shmid, IPC_RMID, nullptr);
        if (image_) {
            image_->data = nullptr;
            XDestroyImage(image_);
        }
        image_ = nullptr;
        segment_ = {};
        segment_.shmid = -1;
        size_ = {};
    }

    Display* display_ = nullptr;
    bool usable_ = false;
    bool attached_ = false;
    XImage* image_ = nullptr;
    XShmSegmentInfo segment_{0, -1, nullptr, False};
    QSize size_;
};

} // namespace

QImage grab(const QRect& rect) {
    static ShmGrabber grabber;
    return grabber.grab(rect);
}

#else

QImage grab(const QRect&) {
    return {};
}

#endif

} // namespace x11grab
