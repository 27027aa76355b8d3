float Sum(float a, float b)
{
	float s = a;
	s += b;

	for (int i = 0; i < 2; i++)
		s += 1.0f;

	if (s > 1.0f)
		s = 1.0f;

	return s;
}

void main()
{
	output.color = float4(Sum(1.0f, 2.0f));
}
