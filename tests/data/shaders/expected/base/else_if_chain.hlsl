void main()
{
	float x = input.uv.x;

	if (x < 0.25f)
		x = 0.0f;
	else if (x < 0.5f)
	{
		x = 0.5f;
	}
	else
		x = 1.0f;

	output.color = float4(x);
}
