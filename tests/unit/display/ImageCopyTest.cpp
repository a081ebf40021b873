// The copy of the desktop through the standard image copy capture, against
// a small compositor in a thread of the test that offers two outputs, shared
// memory and that protocol alone, and paints each output in colours of its
// own.
#include "ext-image-capture-source-v1-server-protocol.h"
#include "ext-image-copy-capture-v1-server-protocol.h"
#include "platform/wayland/ScreenCopy.h"
#include "platform/wayland/WaylandConnection.h"

#include <gtest/gtest.h>
#include <wayland-server.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

namespace {
constexpr int OUTPUT_WIDTH = 64;
constexpr int OUTPUT_HEIGHT = 48;

// The colour, 0x00RRGGBB, of a pixel of the output that lies at `left`.
std::uint32_t ColourAt(int left, int x, int y)
{
    return static_cast<std::uint32_t>(left == 0 ? 0x200000 : 0xA00000) | static_cast<std::uint32_t>(y) << 8 |
           static_cast<std::uint32_t>(x);
}

struct FakeOutput {
    int left = 0;
};

void Destroy(wl_client*, wl_resource* resource) { wl_resource_destroy(resource); }

const struct wl_output_interface OUTPUT_REQUESTS = {Destroy};

void BindOutput(wl_client* client, void* data, uint32_t version, uint32_t id)
{
    auto* output = static_cast<FakeOutput*>(data);
    wl_resource* resource = wl_resource_create(client, &wl_output_interface, static_cast<int>(version), id);
    wl_resource_set_implementation(resource, &OUTPUT_REQUESTS, output, nullptr);
    wl_output_send_geometry(resource, output->left, 0, 0, 0, WL_OUTPUT_SUBPIXEL_UNKNOWN, "test", "test",
                            WL_OUTPUT_TRANSFORM_NORMAL);
    wl_output_send_mode(resource, WL_OUTPUT_MODE_CURRENT, OUTPUT_WIDTH, OUTPUT_HEIGHT, 60000);
    wl_output_send_scale(resource, 1);
    wl_output_send_done(resource);
}

// A frame: the buffer attached to it is painted in its output's colours.
struct Frame {
    FakeOutput* output = nullptr;
    wl_resource* buffer = nullptr;
};

void AttachBuffer(wl_client*, wl_resource* resource, wl_resource* buffer)
{
    static_cast<Frame*>(wl_resource_get_user_data(resource))->buffer = buffer;
}

void DamageBuffer(wl_client*, wl_resource*, int32_t, int32_t, int32_t, int32_t) {}

void Capture(wl_client*, wl_resource* resource)
{
    const Frame& frame = *static_cast<Frame*>(wl_resource_get_user_data(resource));
    wl_shm_buffer* shm = frame.buffer != nullptr ? wl_shm_buffer_get(frame.buffer) : nullptr;
    if (shm == nullptr || wl_shm_buffer_get_width(shm) != OUTPUT_WIDTH ||
        wl_shm_buffer_get_height(shm) != OUTPUT_HEIGHT || wl_shm_buffer_get_format(shm) != WL_SHM_FORMAT_XRGB8888) {
        ext_image_copy_capture_frame_v1_send_failed(resource,
                                                    EXT_IMAGE_COPY_CAPTURE_FRAME_V1_FAILURE_REASON_BUFFER_CONSTRAINTS);
        return;
    }
    wl_shm_buffer_begin_access(shm);
    auto* pixels = static_cast<std::uint8_t*>(wl_shm_buffer_get_data(shm));
    for (int y = 0; y < OUTPUT_HEIGHT; ++y)
        for (int x = 0; x < OUTPUT_WIDTH; ++x) {
            const std::uint32_t colour = ColourAt(frame.output->left, x, y);
            std::memcpy(pixels + y * wl_shm_buffer_get_stride(shm) + x * 4, &colour, 4);
        }
    wl_shm_buffer_end_access(shm);
    ext_image_copy_capture_frame_v1_send_transform(resource, WL_OUTPUT_TRANSFORM_NORMAL);
    ext_image_copy_capture_frame_v1_send_damage(resource, 0, 0, OUTPUT_WIDTH, OUTPUT_HEIGHT);
    ext_image_copy_capture_frame_v1_send_presentation_time(resource, 0, 1, 0);
    ext_image_copy_capture_frame_v1_send_ready(resource);
}

const struct ext_image_copy_capture_frame_v1_interface FRAME_REQUESTS = {Destroy, AttachBuffer, DamageBuffer, Capture};

void FreeFrame(wl_resource* resource) { delete static_cast<Frame*>(wl_resource_get_user_data(resource)); }

void CreateFrame(wl_client* client, wl_resource* session, uint32_t id)
{
    wl_resource* resource = wl_resource_create(client, &ext_image_copy_capture_frame_v1_interface, 1, id);
    auto* frame = new Frame{static_cast<FakeOutput*>(wl_resource_get_user_data(session)), nullptr};
    wl_resource_set_implementation(resource, &FRAME_REQUESTS, frame, FreeFrame);
}

const struct ext_image_copy_capture_session_v1_interface SESSION_REQUESTS = {CreateFrame, Destroy};

void CreateSession(wl_client* client, wl_resource*, uint32_t id, wl_resource* source, uint32_t)
{
    wl_resource* resource = wl_resource_create(client, &ext_image_copy_capture_session_v1_interface, 1, id);
    wl_resource_set_implementation(resource, &SESSION_REQUESTS, wl_resource_get_user_data(source), nullptr);
    // A format the saver cannot read and a device it has no use for, then
    // the format it reads.
    ext_image_copy_capture_session_v1_send_shm_format(resource, WL_SHM_FORMAT_RGB565);
    wl_array device;
    wl_array_init(&device);
    *static_cast<std::uint64_t*>(wl_array_add(&device, sizeof(std::uint64_t))) = 0xE200;
    ext_image_copy_capture_session_v1_send_dmabuf_device(resource, &device);
    wl_array_release(&device);
    ext_image_copy_capture_session_v1_send_shm_format(resource, WL_SHM_FORMAT_XRGB8888);
    ext_image_copy_capture_session_v1_send_buffer_size(resource, OUTPUT_WIDTH, OUTPUT_HEIGHT);
    ext_image_copy_capture_session_v1_send_done(resource);
}

void CreateCursorSession(wl_client*, wl_resource* resource, uint32_t, wl_resource*, wl_resource*)
{
    wl_resource_post_error(resource, 0, "no cursor sessions here");
}

const struct ext_image_copy_capture_manager_v1_interface COPY_REQUESTS = {CreateSession, CreateCursorSession, Destroy};

const struct ext_image_capture_source_v1_interface SOURCE_REQUESTS = {Destroy};

void CreateSource(wl_client* client, wl_resource*, uint32_t id, wl_resource* output)
{
    wl_resource* resource = wl_resource_create(client, &ext_image_capture_source_v1_interface, 1, id);
    wl_resource_set_implementation(resource, &SOURCE_REQUESTS, wl_resource_get_user_data(output), nullptr);
}

const struct ext_output_image_capture_source_manager_v1_interface SOURCES_REQUESTS = {CreateSource, Destroy};

// A global without state: its interface and its requests.
struct Manager {
    const wl_interface* interface;
    const void* requests;
};

const Manager SOURCES = {&ext_output_image_capture_source_manager_v1_interface, &SOURCES_REQUESTS};
const Manager COPY = {&ext_image_copy_capture_manager_v1_interface, &COPY_REQUESTS};

void BindManager(wl_client* client, void* data, uint32_t, uint32_t id)
{
    const auto& manager = *static_cast<const Manager*>(data);
    wl_resource* resource = wl_resource_create(client, manager.interface, 1, id);
    wl_resource_set_implementation(resource, manager.requests, nullptr, nullptr);
}

class ImageCopyCompositor {
public:
    ImageCopyCompositor()
    {
        m_pDisplay = wl_display_create();
        wl_display_init_shm(m_pDisplay);
        for (FakeOutput& output : m_outputs)
            wl_global_create(m_pDisplay, &wl_output_interface, 3, &output, BindOutput);
        for (const Manager* manager : {&SOURCES, &COPY})
            wl_global_create(m_pDisplay, manager->interface, 1, const_cast<Manager*>(manager), BindManager);
        m_socket = wl_display_add_socket_auto(m_pDisplay);
        m_thread = std::thread([this] {
            while (!m_bStop) {
                wl_event_loop_dispatch(wl_display_get_event_loop(m_pDisplay), 20);
                wl_display_flush_clients(m_pDisplay);
            }
        });
    }
    ~ImageCopyCompositor()
    {
        m_bStop = true;
        m_thread.join();
        wl_display_destroy_clients(m_pDisplay);
        wl_display_destroy(m_pDisplay);
    }

    const char* Socket() const { return m_socket; }

private:
    wl_display* m_pDisplay = nullptr;
    FakeOutput m_outputs[2] = {{0}, {OUTPUT_WIDTH}};
    const char* m_socket = nullptr;
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
};

std::uint32_t CanvasColour(const DevicePixels& pixels, int x, int y)
{
    std::uint32_t colour = 0;
    std::memcpy(&colour, pixels.rows.data() + (static_cast<std::size_t>(y) * pixels.width + x) * 4, 4);
    return colour & 0xFFFFFF;
}
}

TEST(ImageCopy, EachOutputsPictureLandsInItsPartOfTheCanvas)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("dovezi-image-copy-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string previousRuntime = runtime != nullptr ? runtime : "";
    ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    {
        ImageCopyCompositor compositor;
        ASSERT_NE(compositor.Socket(), nullptr);
        ::setenv("WAYLAND_DISPLAY", compositor.Socket(), 1);
        std::string why;
        const auto connection = WaylandConnection::Open(why);
        ASSERT_NE(connection, nullptr) << why;
        ASSERT_EQ(connection->ScreenCopy(), nullptr);
        ASSERT_NE(connection->ImageCopy(), nullptr);
        std::vector<OutputPlace> places;
        for (const WaylandOutput* output : connection->Outputs())
            places.push_back(output->Place());
        const OutputLayout layout(places);
        ASSERT_EQ(layout.CanvasSize().cx, 2 * OUTPUT_WIDTH);

        const auto pixels = CopyOutputs(*connection, connection->Outputs(), layout, 5000, why);
        ASSERT_TRUE(pixels.has_value()) << why;
        const std::pair<int, int> points[] = {
            {0, 0}, {OUTPUT_WIDTH - 1, 17}, {OUTPUT_WIDTH, 0}, {2 * OUTPUT_WIDTH - 1, OUTPUT_HEIGHT - 1}};
        for (const auto& [x, y] : points) {
            const int left = x < OUTPUT_WIDTH ? 0 : OUTPUT_WIDTH;
            EXPECT_EQ(CanvasColour(*pixels, x, y), ColourAt(left, x - left, y)) << x << "," << y;
        }
    }
    ::unsetenv("WAYLAND_DISPLAY");
    if (runtime != nullptr)
        ::setenv("XDG_RUNTIME_DIR", previousRuntime.c_str(), 1);
    else
        ::unsetenv("XDG_RUNTIME_DIR");
    std::filesystem::remove_all(folder);
}
