// The program's own versions of the helpers through which the standard
// library's strings and containers throw. The runtime's versions throw the
// <stdexcept> classes, whose message lives in a reference-counted string of
// their own: that links two more narrow string classes and the whole family
// of those classes into the shipped file, some 80 KiB of it. These throw the
// same messages (what() reads the same) through one small class, and the
// classes of <new> and <typeinfo> as before. The program catches
// std::bad_alloc and std::exception, never a <stdexcept> class by name.
//
// All the helpers of the runtime's file are here, so that it is never linked
// for one of them: linked beside these, it would define each twice.
#include <cstdarg>
#include <cstddef>
#include <exception>
#include <new>
#include <typeinfo>

// GCC's standard library only (its headers define __GLIBCXX__).
#if defined(__GLIBCXX__)

namespace {

// The message of a failed precondition, copied into the exception object so
// that it outlives the buffer it was formatted in.
class LibraryError : public std::exception {
public:
    LibraryError() = default;
    explicit LibraryError(const char* message) { Append(message); }

    const char* what() const noexcept override { return message_; }

    void Append(const char* text) {
        while (*text != '\0' && length_ < kCapacity) message_[length_++] = *text++;
        message_[length_] = '\0';
    }
    void Append(char c) {
        const char text[2] = {c, '\0'};
        Append(text);
    }
    void AppendDecimal(std::size_t value) {
        char digits[24];
        std::size_t count = 0;
        do {
            digits[count++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0);
        while (count > 0) Append(digits[--count]);
    }

private:
    // The library's formats name one function and two sizes: far less than this.
    static constexpr std::size_t kCapacity = 511;
    char message_[kCapacity + 1] = {};
    std::size_t length_ = 0;
};

// The library's formats hold "%s", "%zu" and "%%"; any other '%' stays as it
// stands, as it does in the runtime's formatter.
LibraryError Formatted(const char* format, std::va_list arguments) {
    LibraryError error;
    for (const char* p = format; *p != '\0'; ++p) {
        if (p[0] == '%' && p[1] == 's') {
            error.Append(va_arg(arguments, const char*));
            ++p;
        } else if (p[0] == '%' && p[1] == 'z' && p[2] == 'u') {
            error.AppendDecimal(va_arg(arguments, std::size_t));
            p += 2;
        } else if (p[0] == '%' && p[1] == '%') {
            error.Append('%');
            ++p;
        } else {
            error.Append(*p);
        }
    }
    return error;
}

}  // namespace

namespace std {

void __throw_bad_exception() { throw bad_exception(); }
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }

void __throw_logic_error(const char* message) { throw LibraryError(message); }
void __throw_domain_error(const char* message) { throw LibraryError(message); }
void __throw_invalid_argument(const char* message) { throw LibraryError(message); }
void __throw_length_error(const char* message) { throw LibraryError(message); }
void __throw_out_of_range(const char* message) { throw LibraryError(message); }
void __throw_runtime_error(const char* message) { throw LibraryError(message); }
void __throw_range_error(const char* message) { throw LibraryError(message); }
void __throw_overflow_error(const char* message) { throw LibraryError(message); }
void __throw_underflow_error(const char* message) { throw LibraryError(message); }

void __throw_out_of_range_fmt(const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    LibraryError error = Formatted(format, arguments);
    va_end(arguments);
    throw error;
}

}  // namespace std

#endif
